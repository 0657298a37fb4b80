// The options both tools share, the same on korvex-convert and korvex-fetch:
// --help and --version, the load summary's and the survey report's options,
// the range of stamps, and "--", which ends the options.
#pragma once
#include <cstdint>

#include "data/load_summary.h"

struct SummaryOptions {
    bool wanted; // --summary
    bool json;   // --json
    // The summary's parts beyond its figures.
    bool blocks, excursions, profile, heatmap, duration;
    const char* report; // --report, null without
    const char* title;  // --title, null without
    // --from and --to as stampMoment gives them; open ends without.
    int64_t from, to;
    const char* fromText; // as given, for messages; null without
    const char* toText;
    bool optionsEnded; // "--" was given: the rest are no options
    // Options given without the one they need: a usage error.
    const char* needsSummary;         // --json
    const char* needsSummaryOrReport; // the summary's options and parts
    const char* needsReport;          // --title
    LoadSummaryRequest request;
};

// The options' lines for the tools' --help.
extern const char SUMMARY_USAGE[];

void summaryOptionsStart(SummaryOptions* options);
// The prologue of both tools' option loops: takes argv[*i] when it is a
// shared option, with its value (*i then names the value). Returns 1 when
// taken, 0 when it is none (also every argument after "--"), TOOL_ANSWERED
// after answering --help (with printUsage) or --version, or TOOL_EXIT_USAGE
// after saying what is wrong with it.
int takeSharedOption(int argc, char** argv, int* i, SummaryOptions* options, void (*printUsage)());
// After the whole command line: 0, or TOOL_EXIT_USAGE for an option without
// the one it needs.
int checkSummaryOptions(const SummaryOptions& options);
