// korvex-fetch run as a user runs it, against simulated T596s, and the checks
// of what it downloaded: the Linux program and the Windows one under Wine pass
// the same checks.
#pragma once
#include <string>

#include "tests/e2e/program_on_sims.h"

class FetchOnSims : public ProgramOnSims {
  protected:
    struct FetchRun {
        int exitCode;
        std::string output; // standard output and error together
    };

    // Runs the program with these arguments. With afterSeconds set, the shell
    // command action runs once that much time has passed, with $pid the
    // program's process; by default it sends SIGINT, as Ctrl-C would.
    FetchRun runFetch(const std::string& arguments, const char* afterSeconds = nullptr,
                      const std::string& action = "kill -INT $pid");
    // A download of the count pattern, 6,000 samples at 0.20 s, into file: the
    // summary, then the file opened in this program with the same records and
    // the summary's stamps.
    void expectCountDownload(const FetchRun& run, const std::string& file);

    // The command that starts the program; the arguments follow it.
    std::string program = KORVEX_FETCH;
};
