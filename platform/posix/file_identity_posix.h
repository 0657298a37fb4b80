// Who may use a file, carried from the file being replaced to its successor.
#pragma once
#include <sys/stat.h>

// Gives the file open as to the owner, group, permission bits and extended
// attributes (the ACL among them) of the file open as from, whose status is
// old. True only when all of them are carried exactly; false when any of it
// is not the saving user's to give, in which case the name must keep its
// file.
bool fileCarryIdentity(int from, const struct stat& old, int to);
