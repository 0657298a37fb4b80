// The load summary's settings as people type them, the same in the tools'
// options and in the Analysis window: levels as "80,100" and a rated power
// in kW with up to three decimals, "250" or "250.5".
#pragma once
#include <cstddef>
#include <cstdint>

#include "data/load_summary.h"

// Whole percents up to LOAD_THRESHOLD_HIGHEST, separated by commas, at most
// LOAD_THRESHOLDS_MAX of them; an empty text is none. False, with request
// unchanged, for any other text.
bool parseThresholdText(const char* text, LoadSummaryRequest* request);
// kW above 0 and at most RATED_MILLI_KW_HIGHEST / 1000, in thousandths.
bool parseRatedKwText(const char* text, uint64_t* milliKw);

// The same texts back from a request, as the parsers take them.
void thresholdText(const LoadSummaryRequest& request, char* out, size_t size);
// Empty for 0, no rated power.
void ratedKwText(uint64_t milliKw, char* out, size_t size);
