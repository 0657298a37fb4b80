#include "app/data_file_commands.h"

#include "base/error_codes.h"
#include "base/messages.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/chart_view.h"

namespace {

bool askForName(FileDialogKind kind, char path[DATA_FILE_PATH_SIZE], int* dialogError) {
    FileDialogSpec spec = {};
    spec.kind = kind;
    spec.filterName = DATA_FILE_FILTER_NAME;
    spec.filterPattern = DATA_FILE_FILTER_PATTERN;
    spec.defaultExtension = DATA_FILE_EXTENSION;
    spec.overwritePrompt = kind == FILE_DIALOG_SAVE;
    spec.createPrompt = kind == FILE_DIALOG_OPEN;
    path[0] = '\0';
    *dialogError = 0;
    return uiRunFileDialog(&spec, path, DATA_FILE_PATH_SIZE, dialogError);
}

} // namespace

int saveDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_SAVE, path, &dialogError))
        return dialogError;
    int result = writeDataFile(path);
    int message = dataFileFaultMessage(result, true);
    if (message == 0)
        return result;
    showMessage(message, TEXT_PROGRAM_TITLE, 0);
    return 0;
}

namespace {

int openNamedDataFile(const char* path, bool createMissing) {
    int result = readDataFile(path, createMissing);
    int message = dataFileFaultMessage(result, false);
    if (message == 0)
        return result;
    showMessage(message, TEXT_PROGRAM_TITLE, 0);
    return ERR_DATA_FILE_REFUSED;
}

} // namespace

// The dialog has asked before it returns a name that does not exist.
int openDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_OPEN, path, &dialogError))
        return dialogError != 0 ? dialogError : ERR_OPEN_CANCELLED;
    return openNamedDataFile(path, true);
}

namespace {

void finishOpenCommand(int result) {
    if (result == 0)
        resetChartView();
    else if (result != ERR_OPEN_CANCELLED && result != ERR_DATA_FILE_REFUSED)
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
}

} // namespace

void openDataFileCommand() {
    finishOpenCommand(openDataFile());
}

void openNamedDataFileCommand(const char* path) {
    finishOpenCommand(openNamedDataFile(path, false));
}
