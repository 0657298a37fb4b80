// The load summary of the data in memory (data/load_summary.h) on standard
// output, as the tools' summary options ask for it.
#pragma once

#include "tools/common/summary_options.h"

// Summarizes the data in memory and prints it as aligned text or as one JSON
// object. The text ends with a line naming file when it is not null
// (korvex-fetch's output); the JSON holds the summary's keys alone.
void printLoadSummary(const SummaryOptions& options, const char* file = nullptr);
