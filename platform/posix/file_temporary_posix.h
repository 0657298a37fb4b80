// The new file of a replacement, created beside the name it is to take.
#pragma once

// Creates a file for writing in directory with the permissions a plain open
// gives (0666 less the umask): an unnamed one where the file system allows
// it, so that a process killed while writing leaves nothing behind, or else
// one named ".korvex-PID-N.tmp". namedPath (FILE_PATH_SIZE bytes) receives
// that name, or is empty for an unnamed file. Returns 0 or the system error
// number.
int temporaryCreate(const char* directory, char* namedPath, int* fd);
// Gives an unnamed file a name of that kind in directory, the step before it
// is renamed over the chosen name. Returns 0 or the system error number.
int temporaryLinkIn(int fd, const char* directory, char* namedPath);
// Removes the files of that naming in directory whose process is gone: what
// a process killed in the middle of a save left behind where unnamed files
// are not to be had.
void temporaryRemoveStale(const char* directory);
