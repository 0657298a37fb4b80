// The load summary's options on the tools' command lines, the same on
// korvex-convert and korvex-fetch.
#pragma once

#include "data/load_summary.h"

struct SummaryOptions {
    bool wanted; // --summary
    bool json;   // --json
    // A summary option given without --summary is a usage error.
    const char* optionWithoutSummary;
    LoadSummaryRequest request;
};

// The options' lines for the tools' --help.
extern const char SUMMARY_USAGE[];

void summaryOptionsStart(SummaryOptions* options);
// Takes argv[*i] when it is a summary option, with its value (*i then names
// the value). Returns 1 when taken, 0 when it is no summary option, or
// TOOL_EXIT_USAGE after saying what is wrong with it.
int takeSummaryOption(int argc, char** argv, int* i, SummaryOptions* options);
// After the whole command line: 0, or TOOL_EXIT_USAGE for a summary option
// without --summary.
int checkSummaryOptions(const SummaryOptions& options);
