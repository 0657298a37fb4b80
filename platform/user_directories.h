// Where a program started from the desktop (its menu, a data file's double
// click) keeps its settings and opens its file dialogs: the user's own
// directories, named as the system names them, never re-encoded, so that any
// name the system allows works.
#pragma once
#include <cstddef>

// The directory for the program's settings, created (with what leads to it)
// when missing. POSIX: $XDG_CONFIG_HOME/program, or ~/.config/program where
// that variable is unset, empty or, as the base directory rules have it, not
// an absolute path. Windows: program in the user's roaming application data
// (%APPDATA%). Returns 0 or the system error number; out holds the name also
// when the directory could not be made, and is empty when there is no name
// to give.
int userConfigDirectory(const char* program, char* out, size_t size);
// Makes the directory of the user's own files the working directory: the
// home directory on POSIX, the Documents folder on Windows. Returns 0 or the
// system error number.
int enterDocumentsDirectory();
// path, when relative, joined to the working directory. Returns 0 or the
// system error number.
int absolutePath(const char* path, char* out, size_t size);
