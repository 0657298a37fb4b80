// The file dialogs of Open, Save, Export and Screen dump start in the folder
// of the name last chosen in any of them, for the run, as the system's own
// dialogs remember theirs; the first starts where the window system starts
// (the working directory). Only a chosen name moves the start: a cancelled
// dialog leaves it where it was.
#pragma once
#include <cstddef>

#include "ui/frontend.h"

// uiRunFileDialog with spec's startFolder set by that rule.
bool runFileDialog(FileDialogSpec spec, char* path, size_t size, int* dialogError);
