#include "data/load_summary.h"

#include <algorithm>

namespace {

constexpr int CODE_COUNT = 256;
// kWh from sum of percent x thousandths of a kW x hundredths of a second:
// 100 (percent) x 1000 (kW) x 100 (s) x 3600 (s per h).
constexpr uint64_t KWH_DIVISOR = 100ull * 1000 * 100 * 3600;

// The maximum demand and the load factor from the block table.
void findMaxDemand(LoadSummary* summary) {
    const DemandBlock* best = nullptr;
    uint64_t countedSum = 0;
    uint64_t countedValues = 0;
    for (uint32_t k = 0; k < demandBlockCount; ++k) {
        const DemandBlock& block = demandBlocks[k];
        if (!demandBlockCounts(block))
            continue;
        countedSum += block.sum;
        countedValues += block.values;
        // A higher exact mean only: at a tie the earlier block stays.
        if (best == nullptr || demandBlockMeanAbove(block, *best))
            best = &block;
    }
    summary->demandFound = best != nullptr;
    if (best == nullptr)
        return;
    summary->demandStart = demandBlockStart(*best);
    summary->maxDemandHundredths = demandBlockMeanHundredths(*best);
    if (best->sum != 0) {
        summary->loadFactorKnown = true;
        summary->loadFactorThousandths = uint32_t(roundedQuotient(
            uint128(1000) * countedSum * best->values, uint128(countedValues) * best->sum));
    }
    if (summary->ratedGiven)
        summary->maxDemandKwHundredths = roundedQuotient(uint128(best->sum) * summary->ratedMilliKw,
                                                         uint64_t(best->values) * 1000);
}

} // namespace

uint64_t roundedQuotient(uint128 numerator, uint128 denominator) {
    // Most quotients fit 64 bits, whose division is many times faster.
    if (numerator < uint128(1) << 62 && denominator < uint128(1) << 62)
        return (2 * uint64_t(numerator) + uint64_t(denominator)) / (2 * uint64_t(denominator));
    return uint64_t((2 * numerator + denominator) / (2 * denominator));
}

LoadSummaryRequest defaultLoadSummaryRequest() {
    LoadSummaryRequest request{};
    request.demandMinutes = DEMAND_MINUTES_DEFAULT;
    request.thresholdCount = 2;
    request.thresholds[0] = 80;
    request.thresholds[1] = 100;
    return request;
}

void summarizeLoadIn(const LoadSummaryRequest& request, const RecordScope& scope,
                     LoadSummary* summary) {
    *summary = LoadSummary{};
    summary->first = scope.first;
    summary->count = scope.count;
    summary->interval = dataHeader.interval;
    summary->demandMinutes = request.demandMinutes;
    summary->ratedGiven = request.ratedMilliKw != 0;
    summary->ratedMilliKw = request.ratedMilliKw;

    uint32_t histogram[CODE_COUNT] = {};
    int highest = -1;
    int lowest = CODE_COUNT;
    bool inGap = false;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const uint8_t code = sampleStore[i].value;
        ++histogram[code];
        summary->gapRuns += code == SAMPLE_GAP && !inGap;
        inGap = code == SAMPLE_GAP;
        if (!isValueCode(code))
            continue;
        if (code > highest) {
            highest = code;
            summary->maximumIndex = i;
        }
        if (code < lowest) {
            lowest = code;
            summary->minimumIndex = i;
        }
    }
    // Value samples at or above each code, from the top down.
    uint32_t atOrAbove[CODE_COUNT + 1] = {};
    uint64_t sum = 0;
    for (int code = CODE_COUNT - 1; code >= 0; --code) {
        const uint32_t values = isValueCode(uint8_t(code)) ? histogram[code] : 0;
        atOrAbove[code] = atOrAbove[code + 1] + values;
        sum += uint64_t(values) * unsigned(code);
    }
    summary->values = atOrAbove[0];
    summary->valueSum = sum;
    summary->valueSecondsHundredths = uint64_t(summary->values) * summary->interval;
    summary->markers = histogram[SAMPLE_MARKER_MIN] + histogram[SAMPLE_MARKER_MAX];
    summary->thresholdCount = std::clamp(request.thresholdCount, 0, LOAD_THRESHOLDS_MAX);
    for (int k = 0; k < summary->thresholdCount; ++k) {
        LoadThresholdCount& above = summary->above[k];
        above.percent = request.thresholds[k];
        above.samples = atOrAbove[std::min<unsigned>(above.percent, CODE_COUNT)];
        above.secondsHundredths = uint64_t(above.samples) * summary->interval;
        if (summary->values != 0)
            above.shareTenThousandths =
                uint32_t(roundedQuotient(10000ull * above.samples, summary->values));
    }
    // Without a valid length no table is left that another scope built.
    if (demandMinutesValid(request.demandMinutes))
        buildDemandBlocks(scope, request.demandMinutes, summary->interval);
    else
        demandBlockCount = 0;
    if (summary->values == 0)
        return;
    summary->maximum = uint8_t(highest);
    summary->minimum = uint8_t(lowest);
    summary->meanHundredths = uint32_t(roundedQuotient(100 * sum, summary->values));
    if (summary->ratedGiven) {
        summary->maxKwHundredths = roundedQuotient(uint64_t(highest) * request.ratedMilliKw, 1000);
        summary->meanKwHundredths =
            roundedQuotient(uint128(sum) * request.ratedMilliKw, uint64_t(summary->values) * 1000);
        summary->energyKwhThousandths = roundedQuotient(
            uint128(sum) * request.ratedMilliKw * summary->interval * 1000, KWH_DIVISOR);
    }
    if (demandMinutesValid(request.demandMinutes))
        findMaxDemand(summary);
}

void summarizeLoad(const LoadSummaryRequest& request, LoadSummary* summary) {
    summarizeLoadIn(request, wholeStore(), summary);
}

uint32_t nextMarker(const RecordScope& scope, uint32_t from) {
    const uint32_t end = scope.first + scope.count;
    for (uint32_t i = from; i < end; ++i) {
        if (isMarkerCode(sampleStore[i].value))
            return i;
    }
    return end;
}

uint32_t nextGapRun(const RecordScope& scope, uint32_t from, uint32_t* length) {
    const uint32_t end = scope.first + scope.count;
    uint32_t start = from;
    while (start < end && sampleStore[start].value != SAMPLE_GAP)
        ++start;
    uint32_t stop = start;
    while (stop < end && sampleStore[stop].value == SAMPLE_GAP)
        ++stop;
    *length = stop - start;
    return start;
}
