// The load summary as aligned text: what korvex-convert --summary prints and
// what the Analysis window copies. The text is English whatever the
// program's language: its words are the JSON keys' meaning, and the
// program's own catalogue (messages, the .daq header) has none of them.
#pragma once

#include "data/load_summary.h"
#include "output/text_sink.h"

// The parts a summary lists beyond its figures.
struct SummaryParts {
    bool blocks, excursions, profile, heatmap, duration;
};

// Writes summary (made with request) into sink, ending with a line naming
// file when it is not null (korvex-fetch's output), and flushes the sink.
void writeSummaryText(const LoadSummary& summary, const LoadSummaryRequest& request,
                      const SummaryParts& parts, const char* file, TextSink* sink);
