// korvex-convert: a data file turned into what the program writes from it,
// through the program's own reader and writers, for people who script:
//
//   korvex-convert FILE.kvd -o OUT.daq|OUT.csv|OUT.kvd|OUT.pdf [--lang en|de|da]
//   korvex-convert --help | --version
//
// The .daq is byte for byte what File > Export > All writes of the same data
// in the same language and region. Exit 0 when the output is whole, 1 with
// the program's own message when the data file is refused or the output
// cannot be written (the chosen name then holds what it held before), 2 on a
// usage error. --help and --version answer on standard output.
#include <cstdio>
#include <cstring>

#include "app/config_file.h"
#include "app/messages.h"
#include "data/data_file_format.h"
#include "platform/error_text.h"
#include "res/text_table.h"
#include "tools/common/output_file.h"

namespace {

constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

struct ConvertOptions {
    const char* input;
    const char* output;
    uint16_t languageBase;
};

void printUsage() {
    std::printf("usage: korvex-convert FILE.kvd -o OUTPUT [--lang en|de|da]\n"
                "Writes the samples of a data file as the program would.\n"
                "  -o      the file to write; its extension chooses what it holds (%s):\n"
                "          .daq the text export of all samples, .csv a table of time and\n"
                "          value, .kvd the data file anew, .pdf the page Print gives of the\n"
                "          file just opened\n"
                "  --lang  the language of the .daq header, the printed labels and the\n"
                "          messages (default en)\n"
                "  --help, --version  print this, or the version, and exit\n",
                outputExtensions());
}

int usageError(const char* what, const char* argument) {
    std::fprintf(stderr,
                 "korvex-convert: %s: %s\nTry 'korvex-convert --help' for more information.\n",
                 what, argument);
    return EXIT_USAGE;
}

// Not an error: the answer is printed and the program ends with it.
constexpr int ANSWERED = -1;

int parseOptions(int argc, char** argv, ConvertOptions* options) {
    *options = {nullptr, nullptr, LANG_ENGLISH};
    for (int i = 1; i < argc; ++i) {
        const char* option = argv[i];
        if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
            printUsage();
            return ANSWERED;
        }
        if (std::strcmp(option, "--version") == 0) {
            std::printf("korvex-convert %s\n", KORVEX_VERSION);
            return ANSWERED;
        }
        const bool takesValue =
            std::strcmp(option, "-o") == 0 || std::strcmp(option, "--lang") == 0;
        if (!takesValue) {
            if (option[0] == '-' && option[1] != '\0')
                return usageError("unknown option", option);
            if (options->input != nullptr)
                return usageError("more than one data file", option);
            options->input = option;
            continue;
        }
        if (i + 1 >= argc)
            return usageError("missing value after", option);
        const char* value = argv[++i];
        if (std::strcmp(option, "-o") == 0) {
            options->output = value;
        } else if (std::strcmp(value, "en") == 0) {
            options->languageBase = LANG_ENGLISH;
        } else if (std::strcmp(value, "de") == 0) {
            options->languageBase = LANG_GERMAN;
        } else if (std::strcmp(value, "da") == 0) {
            options->languageBase = LANG_DANISH;
        } else {
            return usageError("no such language (en, de, da)", value);
        }
    }
    if (options->input == nullptr)
        return usageError("missing", "the data file to convert");
    if (options->output == nullptr)
        return usageError("missing", "-o OUTPUT");
    if (outputWriterFor(options->output) == nullptr)
        return usageError("the output's extension names nothing to write", options->output);
    return 0;
}

// After the program's message, which names neither, the file and the
// system's reason.
void reportPath(const char* path, int error) {
    char reason[256];
    systemErrorText(error, reason, sizeof reason);
    std::fprintf(stderr, "korvex-convert: %s: %s\n", path, reason);
}

// Refused as File > Open refuses it, with the same messages.
bool readInput(const char* path) {
    const int result = readDataFile(path, false);
    if (result == 0)
        return true;
    if (dataFileFaultMessage(result, false) != 0) {
        showMessage(dataFileFaultMessage(result, false), TEXT_PROGRAM_TITLE, 0);
    } else {
        showMessage(MSG_DATA_LOAD, CAPTION_ERROR, result);
        reportPath(path, result);
    }
    return false;
}

bool writeOutput(const char* path) {
    const int failure = outputWriterFor(path)->write(path);
    if (failure > 0)
        reportPath(path, failure);
    return failure == 0;
}

} // namespace

int main(int argc, char** argv) {
    ConvertOptions options;
    const int usage = parseOptions(argc, argv, &options);
    if (usage == ANSWERED)
        return EXIT_DONE;
    if (usage != 0)
        return usage;
    configBlock.languageBase = options.languageBase;
    if (!readInput(options.input))
        return EXIT_FAILED;
    return writeOutput(options.output) ? EXIT_DONE : EXIT_FAILED;
}
