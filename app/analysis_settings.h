// The Analysis window's settings between runs: the demand period, the
// thresholds and the rated power, as lines of text in a small file of their
// own beside the configuration file, which they never touch.
#pragma once

#include "data/load_summary.h"

constexpr const char* ANALYSIS_SETTINGS_FILE_NAME = "KorvexAnalysis.cnf";

// The demand periods the window offers, in minutes.
constexpr uint32_t ANALYSIS_DEMAND_MINUTES[] = {5, 10, 15, 30, 60};

// The settings of the file, or the defaults (15 minutes, 80 and 100 %, no
// rated power) when it is missing or anything in it cannot be read.
LoadSummaryRequest loadAnalysisSettings();
// Replaces the file whole. Returns 0 or a system error number.
int saveAnalysisSettings(const LoadSummaryRequest& request);
