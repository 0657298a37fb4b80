// Where a program started from the desktop menu keeps its settings and opens
// its file dialogs: the user's own directories, named as bytes, never
// re-encoded, so that any name the system allows works.
#pragma once
#include <cstddef>

// The directory for the program's settings, created (with what leads to it)
// when missing: $XDG_CONFIG_HOME/program, or ~/.config/program where that
// variable is unset, empty or, as the base directory rules have it, not an
// absolute path. Returns 0 or the system error number; out holds the name
// also when the directory could not be made, and is empty when there is no
// name to give.
int userConfigDirectory(const char* program, char* out, size_t size);
// Makes the user's home directory the working directory. Returns 0 or the
// system error number.
int enterHomeDirectory();
// path, when relative, joined to the working directory. Returns 0 or the
// system error number.
int absolutePath(const char* path, char* out, size_t size);
