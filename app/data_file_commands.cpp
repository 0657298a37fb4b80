#include "app/data_file_commands.h"

#include <cstdio>

#include "app/file_dialog_folder.h"
#include "base/error_codes.h"
#include "base/messages.h"
#include "base/texts.h"
#include "data/sample_store.h"
#include "res/added_texts.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/chart_view.h"

namespace {

// The question's buttons, the one that changes nothing last.
constexpr int ANSWER_SAVE = 0;
constexpr int ANSWER_DISCARD = 1;
constexpr int ANSWER_CANCEL = 2;

void copyText(char* to, size_t size, const char* from) {
    std::snprintf(to, size, "%s", from);
}

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
    return runFileDialog(spec, path, DATA_FILE_PATH_SIZE, dialogError);
}

} // namespace

int saveDataFile() {
    char path[DATA_FILE_PATH_SIZE];
    int dialogError = 0;
    if (!askForName(FILE_DIALOG_SAVE, path, &dialogError))
        return dialogError;
    int result = writeDataFile(path);
    int message = dataFileFaultMessage(result, true);
    if (message == 0) {
        if (result == 0)
            dataUnsaved = false;
        return result;
    }
    showMessage(message, TEXT_PROGRAM_TITLE, 0);
    return 0;
}

void reportSaveResult(int result) {
    if (result != 0)
        showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, result);
}

bool mayDropShownData() {
    if (!dataUnsaved)
        return true;
    QuestionContent question = {};
    loadTextUtf8(question.caption, TEXT_PROGRAM_TITLE);
    copyText(question.text, sizeof question.text, addedText(ADDED_UNSAVED_QUESTION));
    copyText(question.answers[ANSWER_SAVE], DIALOG_TEXT_SIZE, addedText(ADDED_ANSWER_SAVE));
    copyText(question.answers[ANSWER_DISCARD], DIALOG_TEXT_SIZE, addedText(ADDED_ANSWER_DISCARD));
    loadTextUtf8(question.answers[ANSWER_CANCEL], TEXT_CANCEL);
    switch (uiAskQuestion(&question)) {
    case ANSWER_SAVE: {
        const int result = saveDataFile();
        reportSaveResult(result);
        return !dataUnsaved;
    }
    case ANSWER_DISCARD:
        return true;
    default:
        return false;
    }
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
    if (result == 0) {
        dataUnsaved = false;
        resetChartView();
    } else if (result != ERR_OPEN_CANCELLED && result != ERR_DATA_FILE_REFUSED)
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
}

} // namespace

void openDataFileCommand() {
    if (mayDropShownData())
        finishOpenCommand(openDataFile());
}

void openNamedDataFileCommand(const char* path) {
    if (mayDropShownData())
        finishOpenCommand(openNamedDataFile(path, false));
}
