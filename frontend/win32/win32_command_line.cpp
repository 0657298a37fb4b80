#include "frontend/win32/win32_command_line.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/win32/text_win32.h"

namespace {

constexpr int EXIT_USAGE = 2;

// A window program has no console of its own: what it prints goes to the
// console of the command prompt that started it. Attached only to print,
// since closing that prompt would end a program attached to it.
void printToStartingConsole() {
    const bool out = GetStdHandle(STD_OUTPUT_HANDLE) == nullptr;
    const bool err = GetStdHandle(STD_ERROR_HANDLE) == nullptr;
    if ((out || err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (out)
            std::freopen("CONOUT$", "w", stdout);
        if (err)
            std::freopen("CONOUT$", "w", stderr);
    }
}

int answer(const char* argument, bool option) {
    printToStartingConsole();
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
        std::printf("Usage: korvex [--desktop] [FILE.kvd]\n"
                    "Downloads the logged values of a T596 power data logger, shows them as\n"
                    "two charts and keeps them on disk.\n"
                    "  FILE.kvd   a data file to open at start-up\n"
                    "  --desktop  run as started from the Start menu: keep DAQSetup.cnf in\n"
                    "             %%APPDATA%%\\Korvex and start the file dialogs in Documents\n"
                    "  --help, --version  print this, or the version, and exit\n");
        return 0;
    }
    if (std::strcmp(argument, "--version") == 0) {
        std::printf("korvex %s\n", KORVEX_VERSION);
        return 0;
    }
    std::fprintf(stderr, "korvex: %s: %s\nTry 'korvex --help' for more information.\n",
                 option ? "unknown option" : "only one data file can be opened", argument);
    return EXIT_USAGE;
}

} // namespace

int readWin32CommandLine(Win32CommandLine* line) {
    *line = {false, std::string()};
    const std::vector<std::string> arguments = commandLineArguments();
    for (size_t i = 1; i < arguments.size(); ++i) {
        const char* argument = arguments[i].c_str();
        const bool option = argument[0] == '-' && argument[1] != '\0';
        if (std::strcmp(argument, "--desktop") == 0)
            line->desktop = true;
        else if (!option && line->dataFile.empty())
            line->dataFile = argument;
        else
            return answer(argument, option);
    }
    return -1;
}
