// The clock-aligned demand blocks of a scope of records, in time order: the
// table that the maximum demand, the block list, the daily profile, the heat
// map and the duration curve of blocks are all read from.
//
// Blocks follow the stamps: a record belongs to the block of the demand
// length, counted from midnight, that its stamp falls in (its seconds and
// hundredths do not matter), wherever it stands in the scope, so stamps that
// are not evenly spaced, or go back, still fill the block they name. A record
// whose stamp is no calendar time belongs to no block. A block counts when it
// holds at least half as many value samples as it would hold records at the
// header's interval (2 x samples x interval >= minutes x 6000), so a block cut
// by a gap or by either end of the data counts only while it holds half; with
// an interval of 0 none counts.
#pragma once
#include <cstdint>

#include "data/sample_store.h"

constexpr uint32_t DEMAND_MINUTES_DEFAULT = 15;
// A demand block is aligned to midnight, so its length divides the day.
constexpr uint32_t MINUTES_PER_DAY = 1440;

struct DemandBlock {
    uint32_t index;   // minutes since 1 January 1970 / the block's minutes
    uint32_t records; // records stamped inside it, markers and gaps included
    uint32_t values;  // value samples among them
    uint32_t sum;     // of their values
};

// The table of the last build, in ascending order of index, one entry per
// block that holds a record. Static like the store.
extern DemandBlock demandBlocks[SAMPLE_STORE_CAPACITY];
extern uint32_t demandBlockCount;
// The block length and interval the table was built with.
extern uint32_t demandBlockMinutes;
extern uint16_t demandBlockInterval;

// Whether minutes is a demand length blocks aligned to midnight can have.
bool demandMinutesValid(uint32_t minutes);
// Builds the table of scope's records for blocks of minutes (a valid length),
// judged by the interval in hundredths of a second.
void buildDemandBlocks(const RecordScope& scope, uint32_t minutes, uint16_t interval);
// Whether a block of the table counts toward demand.
bool demandBlockCounts(const DemandBlock& block);
// Blocks per day, and a block's time-of-day slot (0 at midnight) and day
// since 1 January 1970.
uint32_t demandBlocksPerDay();
uint32_t demandBlockSlot(const DemandBlock& block);
int64_t demandBlockDay(const DemandBlock& block);
// The block's first moment as a record's stamp (hundredths 0; value unused).
SampleRecord demandBlockStart(const DemandBlock& block);
// A block's mean in hundredths of a percent, rounded half up; it must hold a
// value sample.
uint32_t demandBlockMeanHundredths(const DemandBlock& block);
// Whether a's exact mean is above b's (both hold value samples).
bool demandBlockMeanAbove(const DemandBlock& a, const DemandBlock& b);
// The most highest counting blocks, highest first, the earlier at a tie of
// the exact means, as positions in the table. Returns how many there are.
uint32_t highestDemandBlocks(uint32_t* positions, uint32_t most);
