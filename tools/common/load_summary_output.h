// The load summary on the tools' command lines: its options, the same on
// korvex-convert and korvex-fetch, and the summary of the data in memory
// (data/load_summary.h) on standard output, as aligned text or as one JSON
// object. The text is English whatever --lang says: its words are the JSON
// keys' meaning, and --lang chooses the program's own catalogue (messages,
// the .daq header), which has none of them.
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

// Summarizes the data in memory and prints it on standard output. The text
// ends with a line naming file when it is not null (korvex-fetch's output);
// the JSON holds the summary's keys alone.
void printLoadSummary(const SummaryOptions& options, const char* file = nullptr);
