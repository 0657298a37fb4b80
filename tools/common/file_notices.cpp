#include "tools/common/file_notices.h"

#include <cstdarg>
#include <cstdio>

#include "base/texts.h"
#include "platform/file.h"
#include "res/added_texts.h"
#include "tools/common/tool_command_line.h"

namespace {

// The notices are formats of the added texts (ADDED_NOTICE_...), each taking
// what its notice names, in the --lang language.
[[gnu::format(printf, 2, 3)]] void say(const char* path, const char* format, ...);

void say(const char* path, const char* format, ...) {
    char line[2 * FILE_PATH_SIZE];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    reportPath(path, line);
}

} // namespace

void reportSaveOutcome(const char* path) {
    const FileReplaceOutcome& outcome = fileReplaceOutcome();
    const bool copy = outcome.copyPath[0] != '\0';
    const unsigned long long extra = outcome.extraBytes;
    switch (outcome.left) {
    case FILE_LEFT_NEW:
        if (outcome.withoutCopy)
            reportPath(path, addedText(ADDED_NOTICE_WRITTEN_WITHOUT_COPY));
        break;
    case FILE_LEFT_NEW_UNCONFIRMED:
        reportPath(path, addedText(ADDED_NOTICE_NEW_UNCONFIRMED));
        break;
    case FILE_LEFT_OLD_AND_NEW_TAIL:
        if (copy)
            say(path, addedText(ADDED_NOTICE_OLD_AND_NEW_TAIL), extra, outcome.copyPath);
        else
            say(path, addedText(ADDED_NOTICE_OLD_AND_NEW_TAIL_NO_COPY), extra);
        break;
    case FILE_LEFT_MIXED:
        if (copy)
            say(path, addedText(ADDED_NOTICE_MIXED), outcome.copyPath);
        else
            reportPath(path, addedText(ADDED_NOTICE_MIXED_NO_COPY));
        break;
    case FILE_LEFT_OLD:
        if (copy)
            say(path, addedText(ADDED_NOTICE_OLD_WITH_COPY), outcome.copyPath);
        break;
    case FILE_LEFT_NOTHING:
        say(path, addedText(ADDED_NOTICE_NOTHING), outcome.copyPath);
        break;
    }
}

void reportFileHeld(const char* path) {
    say(path, addedText(ADDED_NOTICE_HELD), FILE_HELD_WAIT_MS / 1000);
}
