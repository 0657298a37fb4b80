#include "data/demand_blocks.h"

#include <algorithm>

#include "data/time_base.h"

DemandBlock demandBlocks[SAMPLE_STORE_CAPACITY];
uint32_t demandBlockCount;
uint32_t demandBlockMinutes = DEMAND_MINUTES_DEFAULT;
uint16_t demandBlockInterval;

namespace {

constexpr uint64_t HUNDREDTHS_PER_MINUTE = 6000;

// Records whose stamps go back in time: each one's block and code,
// (block << 8) | code, sorted so that each block's records stand together.
// Static like the store; used only for such stamps.
uint64_t blockedCodes[SAMPLE_STORE_CAPACITY];

constexpr int64_t HUNDREDTHS_PER_MINUTE_SIGNED = 6000;

// The minute since 1970 a stamp falls in; -1 for a stamp that is no calendar
// time.
int64_t stampMinute(const SampleRecord& r, StampCache* cache) {
    const int64_t moment = stampMomentCached(r, cache);
    return moment < 0 ? -1 : moment / HUNDREDTHS_PER_MINUTE_SIGNED;
}

// Adds a record to the table's last block, or opens the next one. False when
// the block lies before the last one: the stamps went back.
bool addRecord(uint32_t block, uint8_t code) {
    if (demandBlockCount == 0 || demandBlocks[demandBlockCount - 1].index != block) {
        if (demandBlockCount != 0 && block < demandBlocks[demandBlockCount - 1].index)
            return false;
        demandBlocks[demandBlockCount++] = DemandBlock{block, 0, 0, 0};
    }
    DemandBlock& last = demandBlocks[demandBlockCount - 1];
    ++last.records;
    if (isValueCode(code)) {
        ++last.values;
        last.sum += code;
    }
    return true;
}

// Stamps that went back: the blocks are gathered by sorting instead.
void buildSorted(const RecordScope& scope) {
    StampCache cache;
    uint32_t used = 0;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const int64_t minute = stampMinute(sampleStore[i], &cache);
        if (minute >= 0)
            blockedCodes[used++] =
                uint64_t(minute) / demandBlockMinutes << 8 | sampleStore[i].value;
    }
    std::sort(blockedCodes, blockedCodes + used);
    demandBlockCount = 0;
    for (uint32_t i = 0; i < used; ++i)
        addRecord(uint32_t(blockedCodes[i] >> 8), uint8_t(blockedCodes[i]));
}

} // namespace

bool demandMinutesValid(uint32_t minutes) {
    return minutes >= 1 && minutes <= MINUTES_PER_DAY && MINUTES_PER_DAY % minutes == 0;
}

void buildDemandBlocks(const RecordScope& scope, uint32_t minutes, uint16_t interval) {
    demandBlockMinutes = minutes;
    demandBlockInterval = interval;
    demandBlockCount = 0;
    StampCache cache;
    int64_t lastMinute = -1;
    uint32_t lastBlock = 0;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const SampleRecord& r = sampleStore[i];
        const int64_t minute = stampMinute(r, &cache);
        if (minute < 0)
            continue;
        if (minute != lastMinute) {
            lastMinute = minute;
            lastBlock = uint32_t(uint64_t(minute) / minutes);
        }
        if (!addRecord(lastBlock, r.value)) {
            buildSorted(scope);
            return;
        }
    }
}

bool demandBlockCounts(const DemandBlock& block) {
    return 2ull * block.values * demandBlockInterval >= demandBlockMinutes * HUNDREDTHS_PER_MINUTE;
}

uint32_t demandBlocksPerDay() {
    return MINUTES_PER_DAY / demandBlockMinutes;
}

uint32_t demandBlockSlot(const DemandBlock& block) {
    return block.index % demandBlocksPerDay();
}

int64_t demandBlockDay(const DemandBlock& block) {
    return block.index / demandBlocksPerDay();
}

SampleRecord demandBlockStart(const DemandBlock& block) {
    const uint32_t minuteOfDay = demandBlockSlot(block) * demandBlockMinutes;
    int64_t year;
    unsigned month, day;
    civilFromDays(demandBlockDay(block), &year, &month, &day);
    SampleRecord start{};
    start.year = uint8_t(year - 2000);
    start.month = uint8_t(month);
    start.day = uint8_t(day);
    start.hour = uint8_t(minuteOfDay / 60);
    start.minute = uint8_t(minuteOfDay % 60);
    return start;
}

uint32_t demandBlockMeanHundredths(const DemandBlock& block) {
    return uint32_t((200ull * block.sum + block.values) / (2ull * block.values));
}

bool demandBlockMeanAbove(const DemandBlock& a, const DemandBlock& b) {
    return uint64_t(a.sum) * b.values > uint64_t(b.sum) * a.values;
}

uint32_t highestDemandBlocks(uint32_t* positions, uint32_t most) {
    uint32_t found = 0;
    for (uint32_t k = 0; k < demandBlockCount; ++k) {
        const DemandBlock& block = demandBlocks[k];
        if (!demandBlockCounts(block))
            continue;
        // Below every one kept, or only as high: the earlier stays ahead.
        uint32_t at = found;
        while (at > 0 && demandBlockMeanAbove(block, demandBlocks[positions[at - 1]]))
            --at;
        if (at >= most)
            continue;
        const uint32_t kept = found < most ? found + 1 : most;
        for (uint32_t j = kept - 1; j > at; --j)
            positions[j] = positions[j - 1];
        positions[at] = k;
        found = kept;
    }
    return found;
}
