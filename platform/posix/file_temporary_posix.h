// The new files of a replacement, created beside the name they are for.
#pragma once
#include <sys/types.h>

// Creates a file for reading and writing in directory with mode (less the
// umask, or within the directory's default ACL, as a plain open gives it): an
// unnamed one where the file system allows it, so that a process killed while
// writing leaves nothing behind, or else one named ".korvex-PID-N.tmp".
// Either way its writer holds a lock on it for as long as it has it open,
// which is how a later sweep tells a live file from a stale one. namedPath
// (FILE_PATH_SIZE bytes) receives the name, or is empty for an unnamed file;
// it is written only once the file is this process's own. Returns 0 or the
// system error number.
int temporaryCreate(const char* directory, mode_t mode, char* namedPath, int* fd);
// Gives an unnamed file a name of that kind in directory, the step before it
// is renamed over the chosen name. Returns 0 or the system error number.
int temporaryLinkIn(int fd, const char* directory, char* namedPath);
// Gives the file open as fd, unnamed or named temporaryPath, the name name
// unless that is taken (EEXIST); its temporary name then goes, and name is
// written to recordedName in the same step. Returns 0 or the system error
// number.
int temporaryNameAs(int fd, char* temporaryPath, const char* name, char* recordedName);
// Removes the files of that naming in directory whose writer is gone (no
// process holds their lock): what a process killed in the middle of a save
// left behind where unnamed files are not to be had. A file is judged by its
// lock alone, never by the process number in its name, which another PID
// namespace or another client of a network file system gives to another
// process.
void temporaryRemoveStale(const char* directory);
