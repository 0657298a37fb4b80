// The front end of korvex-convert: it has no window, and its only output
// besides the file is the message of a failure, on standard error.
#include <cstdio>
#include <cstring>

#include "frontend/frontend.h"

void uiMessageBox(const char* text, const char* caption, unsigned) {
    // "Error:" ends in its own colon; the title does not.
    const size_t length = std::strlen(caption);
    const char* separator = length > 0 && caption[length - 1] == ':' ? " " : ": ";
    std::fprintf(stderr, "korvex-convert: %s%s", caption, separator);
    for (const char* c = text; *c != '\0'; ++c)
        std::fputc(*c == '\n' ? ' ' : *c, stderr);
    std::fputc('\n', stderr);
}

void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    uiMessageBox(text, caption, icon);
}
