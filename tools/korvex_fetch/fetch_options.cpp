#include "tools/korvex_fetch/fetch_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/texts.h"
#include "base/whole_number.h"
#include "data/amount_table.h"
#include "res/text_table.h"
#include "tools/common/tool_command_line.h"

namespace {

void printFetchUsage() {
    std::printf("Usage: korvex-fetch [--port COMn|DEVICE | --auto] [--span NAME|INDEX]\n"
                "                    [--lang en|de|da] [-o FILE.kvd|FILE.daq|FILE.csv]\n"
                "                    [--summary [--json] ...] [--report OUT.html ...]\n"
                "Downloads logged values from a T596 and writes them as a data file.\n"
                "  --port   the serial port: COM1..COM8 or a device path (default COM1)\n"
                "  --auto   search COM1..COM8 for the device\n"
                "  --span   the span to fetch, as the acquisition dialog names it in any\n"
                "           language (\"5 hours\", \"12 Stunden\") or its position 0..13\n"
                "           (default \"5 hours\")\n"
                "  --lang   the language of the messages and the report (default en)\n"
                "  -o       the file to write: a data file, or by its extension the text\n"
                "           export of all samples (.daq) or a CSV (.csv); without it\n"
                "           nothing is written; it holds every record received, whatever\n"
                "           --from and --to say\n"
                "%s"
                "  --help, --version  print this, or the version, and exit\n",
                SUMMARY_USAGE);
}

bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? char(*a - 'A' + 'a') : *a;
        char y = *b >= 'A' && *b <= 'Z' ? char(*b - 'A' + 'a') : *b;
        if (x != y)
            return false;
    }
    return *a == *b;
}

} // namespace

int spanFromName(const char* name) {
    uint64_t index = 0;
    if (parseWholeNumber(name, UINT64_MAX, &index))
        return index < AMOUNT_COUNT ? int(index) : -1;
    const uint16_t bases[] = {LANG_ENGLISH, LANG_GERMAN, LANG_DANISH};
    for (uint16_t base : bases) {
        for (int k = 0; k < AMOUNT_COUNT; ++k) {
            char label[TEXT_UTF8_SIZE];
            cp1252ToUtf8(textTable.slots[base + TEXT_SPAN_FIRST + k], label, sizeof label);
            if (sameIgnoringCase(name, label))
                return k;
        }
    }
    return -1;
}

namespace {

bool copyPath(char* out, const char* in) {
    size_t length = std::strlen(in);
    if (length == 0 || length >= FETCH_PATH_SIZE)
        return false;
    std::memcpy(out, in, length + 1);
    return true;
}

int parsePort(const char* value, FetchOptions* options) {
    if ((value[0] == 'C' || value[0] == 'c') && (value[1] == 'O' || value[1] == 'o') &&
        (value[2] == 'M' || value[2] == 'm')) {
        uint64_t port = 0;
        if (!parseWholeNumber(value + 3, 8, &port) || port < 1)
            return toolUsageError("no such port (COM1..COM8): %s", value);
        options->port = int(port);
        return 0;
    }
    if (!copyPath(options->device, value))
        return toolUsageError("device path empty or too long: %s", value);
    options->port = 0;
    return 0;
}

} // namespace

int parseFetchOptions(int argc, char** argv, FetchOptions* options) {
    std::memset(options, 0, sizeof *options);
    options->port = 1;
    options->span = AMOUNT_DEFAULT;
    options->languageBase = LANG_ENGLISH;
    summaryOptionsStart(&options->summary);
    bool portGiven = false;
    for (int i = 1; i < argc; ++i) {
        const int shared = takeSharedOption(argc, argv, &i, &options->summary, printFetchUsage);
        if (shared == 1)
            continue;
        if (shared != 0)
            return shared;
        const char* option = argv[i];
        if (options->summary.optionsEnded)
            return toolUsageError("unexpected argument: %s", option);
        if (std::strcmp(option, "--auto") == 0) {
            options->autoSearch = true;
            continue;
        }
        bool takesValue = std::strcmp(option, "--port") == 0 ||
                          std::strcmp(option, "--span") == 0 ||
                          std::strcmp(option, "--lang") == 0 || std::strcmp(option, "-o") == 0;
        if (!takesValue)
            return toolUsageError("unknown option: %s", option);
        if (i + 1 >= argc)
            return toolUsageError("missing value after %s", option);
        const char* value = argv[++i];
        if (std::strcmp(option, "--port") == 0) {
            portGiven = true;
            int err = parsePort(value, options);
            if (err != 0)
                return err;
        } else if (std::strcmp(option, "--span") == 0) {
            options->span = spanFromName(value);
            if (options->span < 0)
                return toolUsageError("no such span: %s", value);
        } else if (std::strcmp(option, "--lang") == 0) {
            if (!languageFromName(value, &options->languageBase))
                return toolUsageError("no such language (en, de, da): %s", value);
        } else if (!copyPath(options->output, value)) {
            return toolUsageError("file name empty or too long: %s", value);
        }
    }
    if (portGiven && options->autoSearch)
        return toolUsageError("choose one of --port and --auto");
    return checkSummaryOptions(options->summary);
}
