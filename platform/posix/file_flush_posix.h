// Flushing to the disk, as the file replacement needs it: a file's content
// and the directory its name lies in.
#pragma once

// Flushes what was written to the file open as fd. Returns 0 or the system
// error number. Safe in a signal handler.
int descriptorFlush(int fd);
// The directory part of path, "." when it has none; out holds FILE_PATH_SIZE
// bytes.
void directoryOf(const char* path, char* out);
// Flushes the directory's entries to the disk, so that a name given, changed
// or removed in it survives a power loss. Returns 0 or the system error
// number; a file system that keeps no such flush for directories counts as
// flushed. Safe in a signal handler.
int directoryFlush(const char* directory);
