// The load summary as one JSON object on standard output.
#pragma once

#include "data/load_summary.h"
#include "tools/common/summary_options.h"

void printSummaryJson(const LoadSummary& summary, const SummaryOptions& options);
