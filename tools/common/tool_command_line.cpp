#include "tools/common/tool_command_line.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/error_text.h"
#include "platform/file.h"
#include "res/text_table.h"

bool answerInformationOption(const char* option, void (*printUsage)()) {
    if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
        printUsage();
        return true;
    }
    if (std::strcmp(option, "--version") == 0) {
        std::printf("%s\n", toolVersionText());
        return true;
    }
    return false;
}

const char* toolVersionText() {
    static char text[64];
    std::snprintf(text, sizeof text, "%s %s", TOOL_NAME, KORVEX_VERSION);
    return text;
}

bool languageFromName(const char* name, uint16_t* languageBase) {
    static const struct {
        const char* name;
        uint16_t base;
    } languages[] = {{"en", LANG_ENGLISH}, {"de", LANG_GERMAN}, {"da", LANG_DANISH}};
    for (const auto& language : languages) {
        if (std::strcmp(name, language.name) == 0) {
            *languageBase = language.base;
            return true;
        }
    }
    return false;
}

namespace {

void printLine(const char* format, va_list arguments) {
    std::fprintf(stderr, "%s: ", TOOL_NAME);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
}

} // namespace

void toolError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    printLine(format, arguments);
    va_end(arguments);
}

int toolUsageError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    printLine(format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", TOOL_NAME);
    return TOOL_EXIT_USAGE;
}

void reportPath(const char* path, const char* reason) {
    toolError("%s: %s", path, reason);
}

void reportPathError(const char* path, int systemError) {
    char reason[256];
    systemErrorText(systemError, reason, sizeof reason);
    reportPath(path, reason);
}

void printProgramMessage(const char* text, const char* caption) {
    // Captions like "Error:" end in their own colon; the title does not.
    const size_t length = std::strlen(caption);
    const bool colon = length > 0 && caption[length - 1] == ':';
    std::fprintf(stderr, "%s: %s%s", TOOL_NAME, caption, colon ? " " : ": ");
    for (const char* c = text; *c != '\0'; ++c)
        std::fputc(*c == '\n' ? ' ' : *c, stderr);
    std::fputc('\n', stderr);
}

bool outputPathRefused(const char* path) {
    const FileKind kind = fileKind(path);
    if (kind == FILE_KIND_DIRECTORY)
        reportPath(path, "Is a directory");
    else if (kind == FILE_KIND_OTHER)
        reportPath(path, "Not a regular file");
    return kind == FILE_KIND_DIRECTORY || kind == FILE_KIND_OTHER;
}
