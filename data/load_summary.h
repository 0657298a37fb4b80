// The answers a load survey is taken for, computed from a scope of records of
// the store: the peak and the lowest value and when, the mean, the energy,
// the maximum demand over clock-aligned blocks (data/demand_blocks.h), how
// long the load stood at or above given levels, the markers and the gaps. It
// reads the store and its header and changes nothing but the block table;
// the tools and the survey report format it.
//
// Value samples are the codes 0..200 and 203..254 (percent); markers (201,
// 202) and gaps (255) are no values. Every figure with decimals is kept as a
// whole number of its last decimal (hundredths, thousandths, ...), rounded
// once, half up, from the exact quotient, so that text and JSON print the
// same digits and nothing depends on floating point.
#pragma once
#include <cstdint>

#include "data/demand_blocks.h"
#include "data/sample_store.h"

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

struct LoadThresholdCount {
    uint16_t percent;
    uint32_t samples;             // value samples at or above percent
    uint64_t secondsHundredths;   // samples x interval
    uint32_t shareTenThousandths; // of the value samples; meaningless without values
};

struct LoadSummary {
    uint32_t first;                  // the scope's first record
    uint32_t count;                  // records in the scope
    uint32_t values;                 // value samples among them
    uint16_t interval;               // the header's, hundredths of a second
    uint64_t valueSecondsHundredths; // values x interval: the time the values cover
    // With values > 0:
    uint8_t minimum;
    uint8_t maximum;
    uint32_t minimumIndex; // the first sample at the minimum, in the store
    uint32_t maximumIndex; // the first sample at the maximum, in the store
    uint64_t valueSum;
    uint32_t meanHundredths;
    // A block that counts (demandFound): the highest mean, the earliest block
    // at a tie of the exact means.
    uint32_t demandMinutes;
    bool demandFound;
    SampleRecord demandStart; // the block's first moment, hundredths 0; value unused
    uint32_t maxDemandHundredths;
    // The mean of the value samples in the counting blocks over the maximum
    // demand, so that it never exceeds 1; unknown without a counting block or
    // with a demand of 0.
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
    // sum of value / 100 x rated x interval, with a rated power
    uint64_t energyKwhThousandths;
};

// Summarizes scope's records as request asks; with a valid demand length the
// block table is built from them.
void summarizeLoadIn(const LoadSummaryRequest& request, const RecordScope& scope,
                     LoadSummary* summary);
// The same for the whole store.
void summarizeLoad(const LoadSummaryRequest& request, LoadSummary* summary);

// The first marker of scope at or after from; the scope's end when there is
// none.
uint32_t nextMarker(const RecordScope& scope, uint32_t from);
// The first gap of scope at or after from, and in *length the number of gap
// codes in a row from there; the scope's end when there is none.
uint32_t nextGapRun(const RecordScope& scope, uint32_t from, uint32_t* length);
// Sums of value x rated milli-kW x interval pass 2^64: such products are
// taken in 128 bits, which GCC and Clang give on every 64-bit target.
using uint128 = unsigned __int128;
// numerator / denominator rounded half up, denominator > 0: every figure
// with decimals is rounded so, once, from the exact quotient.
uint64_t roundedQuotient(uint128 numerator, uint128 denominator);
