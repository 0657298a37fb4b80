// Who may use a file, carried from the file being replaced to its successor
// or to the copy of its old content.
#pragma once
#include <sys/stat.h>

// Whether two statuses are of one file.
bool sameFile(const struct stat& a, const struct stat& b);
// Gives the file open as to the owner, group, permission bits and extended
// attributes (the ACL among them) of the file open as from, whose status is
// old, and takes away ACL entries the directory's default ACL gave it that
// the old file does not have. True only when all of it is carried exactly;
// false when any of it is not the saving user's to give, in which case the
// name must keep its file.
bool fileCarryIdentity(int from, const struct stat& old, int to);
// Removes the ACL a new file took from its directory's default ACL, leaving
// its permission bits alone. Returns 0 or the system error number; a file
// system without ACLs has none to remove.
int fileDropAcl(int fd);
// Gives the copy open as to the group and the ACL (or else the permission
// bits) of the file open as from, whose status is old, so that whoever the
// file shuts out is shut out of the copy too. Where the file's group cannot
// be given, the copy's own group gets nothing, and with an ACL its owner
// alone may read it. Returns 0 or the system error number.
int fileGiveAccessOf(int from, const struct stat& old, int to);
