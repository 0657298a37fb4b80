#include "data/load_summary.h"

#include <algorithm>

#include "data/time_base.h"

namespace {

constexpr uint32_t HUNDREDTHS_PER_MINUTE = 6000;
constexpr int CODE_COUNT = 256;

// Samples whose stamps go back in time: each value sample's block and value,
// (block << 8) | value, sorted so that each block's samples stand together.
// Static like the store; used only for such stamps.
uint64_t blockedValues[SAMPLE_STORE_CAPACITY];

// numerator / denominator rounded half up, denominator > 0.
uint64_t rounded(uint64_t numerator, uint64_t denominator) {
    return (2 * numerator + denominator) / (2 * denominator);
}

// The day since 1970 of the last date looked at: consecutive records mostly
// share their date.
struct StampMinutes {
    uint8_t date[3] = {0, 0, 0}; // year, month, day
    bool dateKnown = false;
    int64_t days = 0;
};

// The minute since 1970 a stamp falls in; -1 for a stamp that is no calendar
// time.
int64_t stampMinute(const SampleRecord& r, StampMinutes* cache) {
    if (!isCalendarStamp(r))
        return -1;
    if (!cache->dateKnown || r.year != cache->date[0] || r.month != cache->date[1] ||
        r.day != cache->date[2]) {
        cache->date[0] = r.year;
        cache->date[1] = r.month;
        cache->date[2] = r.day;
        cache->dateKnown = true;
        cache->days = daysFromCivil(r.year + 2000, r.month, r.day);
    }
    return cache->days * MINUTES_PER_DAY + r.hour * 60 + r.minute;
}

constexpr uint64_t NO_BLOCK = UINT64_MAX;

// The blocks in the order the samples name them, and the best so far.
struct DemandScan {
    uint64_t neededHundredths; // 2 x samples x interval must reach this
    uint16_t interval;
    uint64_t block = NO_BLOCK;
    uint64_t sum = 0;
    uint32_t samples = 0;
    bool found = false;
    uint64_t bestBlock = 0;
    uint64_t bestSum = 0;
    uint32_t bestSamples = 0;
};

void closeBlock(DemandScan* scan) {
    if (scan->block == NO_BLOCK || 2ull * scan->samples * scan->interval < scan->neededHundredths)
        return;
    // A higher exact mean only: at a tie the earlier block stays.
    if (!scan->found || scan->sum * scan->bestSamples > scan->bestSum * scan->samples) {
        scan->found = true;
        scan->bestBlock = scan->block;
        scan->bestSum = scan->sum;
        scan->bestSamples = scan->samples;
    }
}

void addToBlock(DemandScan* scan, uint64_t block, uint8_t value) {
    if (block != scan->block) {
        closeBlock(scan);
        scan->block = block;
        scan->sum = 0;
        scan->samples = 0;
    }
    scan->sum += value;
    ++scan->samples;
}

// Stamps that went back: the blocks are gathered by sorting instead.
void scanSorted(DemandScan* scan, uint32_t count, uint32_t minutesPerBlock) {
    *scan = DemandScan{scan->neededHundredths, scan->interval};
    StampMinutes cache;
    uint32_t used = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const SampleRecord& r = sampleStore[i];
        if (!isValueCode(r.value))
            continue;
        const int64_t minute = stampMinute(r, &cache);
        if (minute >= 0)
            blockedValues[used++] = uint64_t(minute) / minutesPerBlock << 8 | r.value;
    }
    std::sort(blockedValues, blockedValues + used);
    for (uint32_t i = 0; i < used; ++i)
        addToBlock(scan, blockedValues[i] >> 8, uint8_t(blockedValues[i]));
    closeBlock(scan);
}

SampleRecord blockStart(uint64_t block, uint32_t minutesPerBlock) {
    const int64_t minutes = int64_t(block * minutesPerBlock);
    int64_t year;
    unsigned month, day;
    civilFromDays(minutes / MINUTES_PER_DAY, &year, &month, &day);
    SampleRecord start{};
    start.year = uint8_t(year - 2000);
    start.month = uint8_t(month);
    start.day = uint8_t(day);
    start.hour = uint8_t(minutes % MINUTES_PER_DAY / 60);
    start.minute = uint8_t(minutes % 60);
    return start;
}

// The demand blocks of records 0 .. count - 1 as the samples name them.
void findMaxDemand(uint32_t count, uint32_t minutesPerBlock, LoadSummary* summary) {
    DemandScan scan{uint64_t(minutesPerBlock) * HUNDREDTHS_PER_MINUTE, summary->interval};
    StampMinutes cache;
    int64_t lastMinute = -1;
    uint64_t lastBlock = 0;
    bool backwards = false;
    for (uint32_t i = 0; i < count; ++i) {
        const SampleRecord& r = sampleStore[i];
        if (!isValueCode(r.value))
            continue;
        const int64_t minute = stampMinute(r, &cache);
        if (minute < 0)
            continue;
        if (minute != lastMinute) {
            lastMinute = minute;
            lastBlock = uint64_t(minute) / minutesPerBlock;
            backwards |= scan.block != NO_BLOCK && lastBlock < scan.block;
        }
        addToBlock(&scan, lastBlock, r.value);
    }
    closeBlock(&scan);
    if (backwards)
        scanSorted(&scan, count, minutesPerBlock);
    summary->demandFound = scan.found;
    if (scan.found) {
        summary->demandStart = blockStart(scan.bestBlock, minutesPerBlock);
        summary->maxDemandHundredths = uint32_t(rounded(100 * scan.bestSum, scan.bestSamples));
        if (scan.bestSum != 0) {
            summary->loadFactorKnown = true;
            summary->loadFactorThousandths =
                uint32_t(rounded(1000 * summary->valueSum * scan.bestSamples,
                                 uint64_t(summary->values) * scan.bestSum));
        }
        if (summary->ratedGiven)
            summary->maxDemandKwHundredths =
                rounded(scan.bestSum * summary->ratedMilliKw, uint64_t(scan.bestSamples) * 1000);
    }
}

} // namespace

LoadSummaryRequest defaultLoadSummaryRequest() {
    LoadSummaryRequest request{};
    request.demandMinutes = DEMAND_MINUTES_DEFAULT;
    request.thresholdCount = 2;
    request.thresholds[0] = 80;
    request.thresholds[1] = 100;
    return request;
}

bool demandMinutesValid(uint32_t minutes) {
    return minutes >= 1 && minutes <= MINUTES_PER_DAY && MINUTES_PER_DAY % minutes == 0;
}

void summarizeLoad(const LoadSummaryRequest& request, LoadSummary* summary) {
    *summary = LoadSummary{};
    const uint32_t count = storableCount(dataHeader.count);
    summary->count = count;
    summary->interval = dataHeader.interval;
    summary->demandMinutes = request.demandMinutes;
    summary->ratedGiven = request.ratedMilliKw != 0;
    summary->ratedMilliKw = request.ratedMilliKw;

    uint32_t histogram[CODE_COUNT] = {};
    int highest = -1;
    bool inGap = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t code = sampleStore[i].value;
        ++histogram[code];
        summary->gapRuns += code == SAMPLE_GAP && !inGap;
        inGap = code == SAMPLE_GAP;
        if (isValueCode(code) && code > highest) {
            highest = code;
            summary->maximumIndex = i;
        }
    }
    // Value samples at or above each code, from the top down.
    uint32_t atOrAbove[CODE_COUNT + 1] = {};
    uint64_t sum = 0;
    for (int code = CODE_COUNT - 1; code >= 0; --code) {
        const uint32_t values = isValueCode(uint8_t(code)) ? histogram[code] : 0;
        atOrAbove[code] = atOrAbove[code + 1] + values;
        sum += uint64_t(values) * unsigned(code);
        if (values != 0)
            summary->minimum = uint8_t(code);
    }
    summary->values = atOrAbove[0];
    summary->valueSum = sum;
    summary->markers = histogram[SAMPLE_MARKER_MIN] + histogram[SAMPLE_MARKER_MAX];
    summary->thresholdCount = std::clamp(request.thresholdCount, 0, LOAD_THRESHOLDS_MAX);
    for (int k = 0; k < summary->thresholdCount; ++k) {
        LoadThresholdCount& above = summary->above[k];
        above.percent = request.thresholds[k];
        above.samples = atOrAbove[std::min<unsigned>(above.percent, CODE_COUNT)];
        above.secondsHundredths = uint64_t(above.samples) * summary->interval;
        if (summary->values != 0)
            above.shareTenThousandths =
                uint32_t(rounded(10000ull * above.samples, summary->values));
    }
    if (summary->values == 0)
        return;
    summary->maximum = uint8_t(highest);
    summary->meanHundredths = uint32_t(rounded(100 * sum, summary->values));
    if (summary->ratedGiven) {
        summary->maxKwHundredths = rounded(uint64_t(highest) * request.ratedMilliKw, 1000);
        summary->meanKwHundredths =
            rounded(sum * request.ratedMilliKw, uint64_t(summary->values) * 1000);
    }
    if (demandMinutesValid(request.demandMinutes))
        findMaxDemand(count, request.demandMinutes, summary);
}

uint32_t nextMarker(uint32_t from) {
    const uint32_t count = storableCount(dataHeader.count);
    for (uint32_t i = from; i < count; ++i) {
        if (isMarkerCode(sampleStore[i].value))
            return i;
    }
    return count;
}

uint32_t nextGapRun(uint32_t from, uint32_t* length) {
    const uint32_t count = storableCount(dataHeader.count);
    uint32_t start = from;
    while (start < count && sampleStore[start].value != SAMPLE_GAP)
        ++start;
    uint32_t end = start;
    while (end < count && sampleStore[end].value == SAMPLE_GAP)
        ++end;
    *length = end - start;
    return start;
}
