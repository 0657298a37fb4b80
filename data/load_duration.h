// The load duration curve: at each whole percent p of the time, 0 to 100,
// the highest value that at least p % of the value samples reach, and the
// same over the means of the counting demand blocks; so point 0 is the
// highest and point 100 the lowest. At least one sample (block) must reach
// a point's value.
#pragma once
#include <cstdint>

#include "data/sample_store.h"

constexpr int DURATION_POINTS = 101;

struct LoadDuration {
    bool samplesKnown; // the scope holds a value sample
    uint8_t samples[DURATION_POINTS];
    bool blocksKnown; // a demand block counts
    uint32_t blockHundredths[DURATION_POINTS];
};

// The samples from scope, the blocks from the block table of the last
// summary of that scope (data/demand_blocks.h).
void computeLoadDuration(const RecordScope& scope, LoadDuration* duration);
