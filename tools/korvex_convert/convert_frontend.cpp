// The front end of korvex-convert: it has no window, and its only output
// besides the file is the message of a failure, on standard error.
#include "tools/common/tool_command_line.h"
#include "ui/frontend.h"

void uiMessageBox(const char* text, const char* caption, unsigned) {
    printProgramMessage(text, caption);
}

void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    uiMessageBox(text, caption, icon);
}
