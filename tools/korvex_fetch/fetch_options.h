// The command line of korvex-fetch.
#pragma once
#include <cstdint>

#include "tools/common/load_summary_output.h"

// Beside the tools' own exit codes: the transfer ended without a single
// sample (an echoed count of 0, a device that stopped at once).
constexpr int FETCH_EXIT_EMPTY = 3;

constexpr int FETCH_PATH_SIZE = 256;

struct FetchOptions {
    int port;                     // COMn, 0 when a device path is given
    char device[FETCH_PATH_SIZE]; // the device path of --port DEVICE
    bool autoSearch;              // --auto
    int span;                     // AmountTable index
    uint16_t languageBase;        // --lang
    char output[FETCH_PATH_SIZE]; // -o, empty: no file
    SummaryOptions summary;       // --summary and its options
};

// Fills options from argv. Returns 0; TOOL_ANSWERED after answering --help
// or --version; or TOOL_EXIT_USAGE after saying what is wrong.
int parseFetchOptions(int argc, char** argv, FetchOptions* options);
// The span a name stands for: its index 0..13, or its label in any of the
// three languages, letter case ignored. -1 when none.
int spanFromName(const char* name);
