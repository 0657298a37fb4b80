// The heat map: each calendar day that holds a record, with the mean of each
// of its time-of-day blocks where that block counts. Read a day at a time
// from the block table of the last summary (data/demand_blocks.h).
#pragma once
#include <cstdint>

#include "data/demand_blocks.h"

struct HeatmapDay {
    int64_t day;       // since 1 January 1970
    SampleRecord date; // the day's midnight as a stamp
    uint32_t slotCount;
    bool counts[MINUTES_PER_DAY];
    uint32_t meanHundredths[MINUTES_PER_DAY]; // where counts
};

struct HeatmapCursor {
    uint32_t nextBlock; // 0 to start
};

// The next day in time order; false after the last.
bool nextHeatmapDay(HeatmapCursor* cursor, HeatmapDay* out);
