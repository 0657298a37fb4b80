#include "tools/common/load_summary_output.h"

#include <cstdio>

#include "tools/common/summary_json.h"
#include "tools/common/summary_text.h"

void printLoadSummary(const SummaryOptions& options, const char* file) {
    LoadSummary summary;
    summarizeLoad(options.request, &summary);
    if (options.json)
        printSummaryJson(summary, options);
    else
        printSummaryText(summary, options, file);
    std::fflush(stdout);
}
