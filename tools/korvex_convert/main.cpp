// korvex-convert: a data file turned into what the program writes from it,
// through the program's own reader and writers, for people who script, and
// the load summary of its samples:
//
//   korvex-convert FILE.kvd [-o OUT.daq|OUT.csv|OUT.kvd|OUT.pdf] [--lang en|de|da]
//                  [--summary [--json] [--blocks] [--excursions] [--profile]
//                   [--heatmap] [--duration]] [--report OUT.html [--title TEXT]]
//                  [--demand-minutes N] [--above PCT[,PCT...]] [--rated-kw KW]
//                  [--from STAMP] [--to STAMP] [--]
//   korvex-convert --help | --version
//
// The .daq is byte for byte what File > Export > All writes of the same data
// in the same language and region. Exit 0 when the output is whole, 1 with
// the program's own message when the data file is refused or the output
// cannot be written (the chosen name then holds what it held before), 2 on a
// usage error. --help and --version answer on standard output.
#include <cstdio>
#include <cstring>

#include "base/config_file.h"
#include "base/messages.h"
#include "data/data_file_format.h"
#include "platform/console.h"
#include "platform/file.h"
#include "res/text_table.h"
#include "tools/common/file_notices.h"
#include "tools/common/load_summary_output.h"
#include "tools/common/output_file.h"
#include "tools/common/output_interrupt.h"
#include "tools/common/tool_command_line.h"

extern const char TOOL_NAME[] = "korvex-convert";

namespace {

struct ConvertOptions {
    const char* input;
    const char* output;
    uint16_t languageBase;
    SummaryOptions summary;
};

void printUsage() {
    std::printf("Usage: korvex-convert [--lang en|de|da] [-o OUTPUT] [--summary [--json] ...]\n"
                "                      [--report OUT.html [--title TEXT]] [--from STAMP]\n"
                "                      [--to STAMP] [--] FILE.kvd\n"
                "Writes the samples of a data file as the program would, or summarizes them.\n"
                "  -o      the file to write; its extension chooses what it holds (%s):\n"
                "          .daq the text export of all samples, .csv a table of time, value\n"
                "          and code, .kvd the data file anew, .pdf the page Print gives of\n"
                "          the file just opened\n"
                "%s"
                "  --lang  the language of the .daq header, the printed labels and the\n"
                "          messages and the report (default en); the summary is in English\n"
                "  --help, --version  print this, or the version, and exit\n",
                outputExtensions(), SUMMARY_USAGE);
}

int parseOptions(int argc, char** argv, ConvertOptions* options) {
    *options = {nullptr, nullptr, LANG_ENGLISH, {}};
    summaryOptionsStart(&options->summary);
    for (int i = 1; i < argc; ++i) {
        const int shared = takeSharedOption(argc, argv, &i, &options->summary, printUsage);
        if (shared == 1)
            continue;
        if (shared != 0)
            return shared;
        const char* option = argv[i];
        const bool named = options->summary.optionsEnded || option[0] != '-' || option[1] == '\0';
        if (named) {
            if (options->input != nullptr)
                return toolUsageError("more than one data file: %s", option);
            options->input = option;
            continue;
        }
        const bool takesValue =
            std::strcmp(option, "-o") == 0 || std::strcmp(option, "--lang") == 0;
        if (!takesValue)
            return toolUsageError("unknown option: %s", option);
        if (i + 1 >= argc)
            return toolUsageError("missing value after %s", option);
        const char* value = argv[++i];
        if (std::strcmp(option, "-o") == 0) {
            options->output = value;
        } else if (!languageFromName(value, &options->languageBase)) {
            return toolUsageError("no such language (en, de, da): %s", value);
        }
    }
    if (options->input == nullptr)
        return toolUsageError("missing the data file to convert");
    if (checkSummaryOptions(options->summary) != 0)
        return TOOL_EXIT_USAGE;
    if (options->output == nullptr && !options->summary.wanted &&
        options->summary.report == nullptr)
        return toolUsageError("missing -o OUTPUT, --summary or --report");
    return 0;
}

// Refused as File > Open refuses it, with the same messages, and then what
// is wrong with the file, which those do not name.
bool readInput(const char* path) {
    const int result = readDataFile(path, false);
    if (result == 0)
        return true;
    if (result == ERR_DATA_HEADER_FAULT || result == ERR_DATA_RECORDS_FAULT) {
        showMessage(dataFileFaultMessage(result, false), TEXT_PROGRAM_TITLE, 0);
        reportPath(path, result == ERR_DATA_HEADER_FAULT
                             ? "not a data file: its header is short or impossible"
                             : "not a data file: its size does not match its record count");
    } else {
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
        reportPathError(path, result);
        if (result == FILE_ERROR_HELD)
            reportFileHeld(path);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    consoleUseUtf8(&argc, &argv);
    ConvertOptions options;
    const int usage = parseOptions(argc, argv, &options);
    if (usage == TOOL_ANSWERED)
        return TOOL_EXIT_OK;
    if (usage != 0)
        return usage;
    if (options.summary.report != nullptr && outputPathRefused(options.summary.report))
        return TOOL_EXIT_FAILED;
    if (options.output != nullptr) {
        // A directory is refused for what it is, whatever its name looks like.
        if (outputPathRefused(options.output))
            return TOOL_EXIT_FAILED;
        if (outputWriterFor(options.output) == nullptr)
            return toolUsageError("the output's extension names nothing to write: %s",
                                  options.output);
    }
    configBlock.languageBase = options.languageBase;
    if (!readInput(options.input) || !keepRecordRange(options.summary))
        return TOOL_EXIT_FAILED;
    abandonOutputOnInterrupt();
    if (options.output != nullptr && !writeOutputFile(options.output))
        return TOOL_EXIT_FAILED;
    if (options.summary.report != nullptr &&
        !writeReportFile(options.summary, options.input, options.languageBase))
        return TOOL_EXIT_FAILED;
    if (options.summary.wanted)
        printLoadSummary(options.summary);
    return TOOL_EXIT_OK;
}
