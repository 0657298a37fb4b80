// File > Save and File > Open: the file dialogs and the messages around the
// data file's layout (data/data_file_format.h).
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
void openDataFileCommand();
// The same with the name already chosen (the command line, a dropped file). A
// name that does not exist is reported, not created: nobody was asked.
void openNamedDataFileCommand(const char* path);
