// korvex.exe's command line, as the Linux program takes it:
//
//   korvex.exe [--desktop] [FILE.kvd]
//
// A data file named opens at start-up as File > Open would; --desktop, which
// the Start menu entry and the data file's type pass, keeps DAQSetup.cnf in
// %APPDATA%\Korvex and starts the file dialogs in the user's Documents.
#pragma once
#include <string>

struct Win32CommandLine {
    bool desktop;
    std::string dataFile; // empty for none
};

// Reads the wide command line. -1 to go on and start, or the exit code once
// --help, --version or a usage error has been answered.
int readWin32CommandLine(Win32CommandLine* line);
