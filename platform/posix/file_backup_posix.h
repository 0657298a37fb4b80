// The copy of a file's old content that stands beside it while the new
// content is written into the file itself.
#pragma once
#include <sys/stat.h>
#include <sys/types.h>

// Copies what the file open as from holds, from offset to its end, to the
// current position of the file open as to. Returns 0 or the system error
// number. Safe in a signal handler.
int contentCopy(int from, off_t offset, int to);

// Copies everything the file open as fd holds (its status is old) into a new
// file beside path named path.korvex-backup, or path.korvex-backup-2, -3 ...
// when that name is taken, so that a copy an earlier crash left is never
// overwritten. The copy is readable as the file is by its group, and it and
// its name are flushed to the disk before this returns 0 with *backupFd open
// on it and its name in backupPath (FILE_PATH_SIZE bytes). On failure, the
// system error number, with nothing left behind.
int backupCreate(int fd, const struct stat& old, const char* path, char* backupPath, int* backupFd);
// Writes the copy's content back into the file open as fd, whole, and
// flushes it. Returns 0 or the system error number. Safe in a signal handler.
int backupRestore(int backupFd, int fd);
// Closes the copy and removes it from the disk. Safe in a signal handler.
void backupRemove(int backupFd, const char* backupPath);
