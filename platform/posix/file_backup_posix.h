// The copy of a file's old content that stands beside it while the new
// content is written into the file itself.
#pragma once
#include <cstdint>
#include <sys/stat.h>
#include <sys/types.h>

// Copies what the file open as from holds, from offset to its end, to the
// current position of the file open as to. Returns 0 or the system error
// number. Safe in a signal handler.
int contentCopy(int from, off_t offset, int to);

// Copies everything the file open as fd holds (its status is old) into a new
// file beside path, unreadable to all but its owner until it is whole and
// flushed and then given the file's group and ACL (or permission bits), and
// only then named path.korvex-backup, or path.korvex-backup-2, -3 ... when
// that name is taken, so that a copy an earlier crash left is never touched.
// While it is made, temporaryPath (FILE_PATH_SIZE bytes) holds its temporary
// name where it has one; once it is named, backupPath does. Returns 0 with
// *backupFd open on it, its name flushed to the disk; or the system error
// number with nothing left behind.
int backupCreate(int fd, const struct stat& old, const char* path, char* temporaryPath,
                 char* backupPath, int* backupFd);
// Copies everything the file open as fd holds into memory, for a file that
// is overwritten where no copy can be made beside it. Returns 0 with
// *backupFd open on the copy, or the system error number.
int backupInMemory(int fd, int* backupFd);
// Writes the copy's content back into the file open as fd, cuts off what
// the new content left beyond it, and flushes the file. Returns 0, or the
// system error number with *newTail the count of the new content's bytes that
// still follow the whole old content, or BACKUP_NOT_RESTORED when the old
// content is not back whole. Safe in a signal handler.
constexpr uint64_t BACKUP_NOT_RESTORED = UINT64_MAX;
int backupRestore(int backupFd, int fd, uint64_t* newTail);
// Removes the copy's name (when it has one) and flushes its directory. Safe
// in a signal handler.
void backupRemove(const char* backupPath);
