// The load summary as aligned text on standard output. The text is English
// whatever --lang says: its words are the JSON keys' meaning, and --lang
// chooses the program's own catalogue (messages, the .daq header), which has
// none of them.
#pragma once

#include "data/load_summary.h"
#include "tools/common/summary_options.h"

// The text ends with a line naming file when it is not null (korvex-fetch's
// output).
void printSummaryText(const LoadSummary& summary, const SummaryOptions& options, const char* file);
