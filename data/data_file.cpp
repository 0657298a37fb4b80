#include "data/data_file.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "frontend/frontend.h"
#include "res/text_table.h"
#include "view/chart_view.h"

static bool askForName(FileDialogKind kind, char path[DATA_FILE_PATH_SIZE], int* dialogError) {
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

static int saveNamedDataFile(const char* path) {
    int result = writeDataFile(path);
    int message = dataFileFaultMessage(result, true);
    if (message == 0)
        return result;
    showMessage(message, TEXT_PROGRAM_TITLE, 0);
    return 0;
}

int saveDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_SAVE, path, &dialogError))
        return dialogError;
    return saveNamedDataFile(path);
}

int openNamedDataFile(const char* path, bool createMissing) {
    int result = readDataFile(path, createMissing);
    int message = dataFileFaultMessage(result, false);
    if (message == 0)
        return result;
    showMessage(message, TEXT_PROGRAM_TITLE, 0);
    return ERR_DATA_FILE_REFUSED;
}

int openDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_OPEN, path, &dialogError))
        return dialogError != 0 ? dialogError : ERR_OPEN_CANCELLED;
    return openNamedDataFile(path, true);
}

void openDataFileCommand() {
    int result = openDataFile();
    if (result == 0)
        resetChartView();
    else if (result != ERR_OPEN_CANCELLED && result != ERR_DATA_FILE_REFUSED)
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
}
