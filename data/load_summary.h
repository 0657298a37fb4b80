// The answers a load survey is taken for, computed from the samples in the
// store: the peak and when, the mean, the maximum demand over clock-aligned
// blocks, how long the load stood at or above given levels, the markers and
// the gaps. It reads the store and its header and changes nothing; the tools
// format it (tools/common/load_summary_output.h).
//
// Value samples are the codes 0..200 and 203..254 (percent); markers (201,
// 202) and gaps (255) are no values. Every figure with decimals is kept as a
// whole number of its last decimal (hundredths, thousandths, ...), rounded
// once, half up, from the exact quotient, so that text and JSON print the
// same digits and nothing depends on floating point.
#pragma once
#include <cstdint>

#include "data/sample_store.h"

constexpr uint32_t DEMAND_MINUTES_DEFAULT = 15;
// A demand block is aligned to midnight, so its length divides the day.
constexpr uint32_t MINUTES_PER_DAY = 1440;
constexpr int LOAD_THRESHOLDS_MAX = 16;
constexpr uint16_t LOAD_THRESHOLD_HIGHEST = 1000; // percent
// The rated power is given in thousandths of a kW, at most a gigawatt.
constexpr uint64_t RATED_MILLI_KW_HIGHEST = 1000000ull * 1000;

struct LoadSummaryRequest {
    uint32_t demandMinutes;                   // 1..1440, a divisor of 1440
    int thresholdCount;                       // 0..LOAD_THRESHOLDS_MAX
    uint16_t thresholds[LOAD_THRESHOLDS_MAX]; // percent, 0..LOAD_THRESHOLD_HIGHEST
    uint64_t ratedMilliKw;                    // 0: no rated power given
};

// The request with the defaults: 15-minute demand, thresholds 80 and 100 %.
LoadSummaryRequest defaultLoadSummaryRequest();
// Whether minutes is a demand length blocks aligned to midnight can have.
bool demandMinutesValid(uint32_t minutes);

struct LoadThresholdCount {
    uint16_t percent;
    uint32_t samples;             // value samples at or above percent
    uint64_t secondsHundredths;   // samples x interval
    uint32_t shareTenThousandths; // of the value samples; meaningless without values
};

struct LoadSummary {
    uint32_t count;    // records (the header's count, at most the store)
    uint32_t values;   // value samples among them
    uint16_t interval; // the header's, hundredths of a second
    // With values > 0:
    uint8_t minimum;
    uint8_t maximum;
    uint32_t maximumIndex; // the first sample at the maximum
    uint64_t valueSum;
    uint32_t meanHundredths;
    // A block that counts (demandFound): the highest mean, the earliest block
    // at a tie of the exact means.
    uint32_t demandMinutes;
    bool demandFound;
    SampleRecord demandStart; // the block's first moment, hundredths 0; value unused
    uint32_t maxDemandHundredths;
    // mean / max_demand; unknown without a block or with a demand of 0.
    bool loadFactorKnown;
    uint32_t loadFactorThousandths;
    int thresholdCount;
    LoadThresholdCount above[LOAD_THRESHOLDS_MAX];
    uint32_t markers; // marker samples
    uint32_t gapRuns; // runs of consecutive gap codes
    // With a rated power: percent x rated / 100 in hundredths of a kW.
    bool ratedGiven;
    uint64_t ratedMilliKw;
    uint64_t maxKwHundredths;
    uint64_t meanKwHundredths;
    uint64_t maxDemandKwHundredths; // with demandFound
};

// Summarizes records 0 .. count - 1 as request asks.
//
// Demand blocks follow the stamps: a value sample belongs to the block of
// demandMinutes, counted from midnight, that its stamp falls in (its seconds
// and hundredths do not matter), wherever it stands in the store, so stamps
// that are not evenly spaced, or go back, still fill the block they name. A
// sample whose stamp is no calendar time belongs to no block. A block counts
// when it holds at least half as many value samples as it would hold records
// at the header's interval (2 x samples x interval >= minutes x 6000), so a
// block cut by a gap or by either end of the data does not count; with an
// interval of 0 none counts.
void summarizeLoad(const LoadSummaryRequest& request, LoadSummary* summary);

// The first marker at or after from; count when there is none.
uint32_t nextMarker(uint32_t from);
// The first gap at or after from, and in *length the number of gap codes in
// a row from there; count when there is none.
uint32_t nextGapRun(uint32_t from, uint32_t* length);
