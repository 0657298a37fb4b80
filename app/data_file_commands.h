// File > Save and File > Open: the file dialogs and the messages around the
// data file's layout (data/data_file_format.h), and the question that keeps
// downloaded samples from being dropped unsaved.
#pragma once

#include "data/data_file_format.h"

// Both ask for a name with the file dialog, then write or read the file, and
// show their own short writes (save: then 0) and refused files (open: then
// ERR_DATA_FILE_REFUSED). Otherwise 0 on success or an error number for the
// caller to report: a dialog error, a system error, or ERR_OPEN_CANCELLED.
int saveDataFile();
int openDataFile();

// File > Open: openDataFile, then the view reset of new data; a refused or
// cancelled file changes nothing, any other error is message 80.
// Both ask first (mayDropShownData).
void openDataFileCommand();
// The same with the name already chosen (the command line, a dropped file). A
// name that does not exist is reported, not created: nobody was asked.
void openNamedDataFileCommand(const char* path);

// Save's result as the user sees it: a nonzero one is message 84 under
// caption 43 with the result as number (the exports' too).
void reportSaveResult(int result);

// Before a command drops the samples on display (Exit, the close box, Open,
// a dropped file, Transfer): true to go on. Kept samples go at once; unsaved
// ones (dataUnsaved) bring the question first: save (the Save dialog; its cancel or a
// failed save is a no), discard, or cancel.
bool mayDropShownData();
