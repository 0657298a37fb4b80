// A program started from the desktop (its menu entry, a double click on a
// data file) runs in whatever directory the desktop chose, where no settings
// file belongs: its configuration goes to the user's settings directory and
// its file dialogs start among the user's own files.
#pragma once
#include <cstddef>

// Keeps the configuration in the user's settings directory named
// settingsFolder (platform/user_directories.h) and enters the user's
// documents directory. dataFile, the name given on the command line or empty,
// comes back in absoluteName made absolute first, so that it still names the
// same file. False, with the working directory kept, when it cannot be made
// absolute: the caller then opens it by the name as given.
bool settleForTheDesktop(const char* settingsFolder, const char* dataFile, char* absoluteName,
                         size_t size);
