#include "data/load_profile.h"

#include "data/load_summary.h"

namespace {

// The mean of block means is a sum of fractions whose denominators differ:
// each term is kept in units of 2^-64, with a note of whether any was cut.
constexpr uint128 UNIT = uint128(1) << 64;

struct SlotSums {
    uint32_t blocks;
    uint128 meanSum; // sum of floor(mean x 2^64)
    bool cut;        // a term lost a remainder
    const DemandBlock* lowest;
    const DemandBlock* highest;
};

SlotSums sums[PROFILE_DAY_KINDS][MINUTES_PER_DAY];

// The mean of the block means in hundredths, rounded half up. With cut terms
// the exact sum lies strictly between Q and Q + blocks units; where a
// hundredth's boundary falls inside, the exact sum is that boundary or above
// (the blocks' sample counts give the sums far coarser steps than 2^-64), so
// the upper end decides.
uint32_t meanOfMeans(const SlotSums& s) {
    const uint128 k = s.blocks;
    const auto hundredths = [k](uint128 q) {
        return uint32_t((200 * q + k * UNIT) / (2 * k * UNIT));
    };
    return s.cut ? hundredths(s.meanSum + k) : hundredths(s.meanSum);
}

} // namespace

bool isWeekendDay(int64_t day) {
    // 1 January 1970 was a Thursday.
    const int64_t weekday = ((day + 4) % 7 + 7) % 7; // 0 Sunday
    return weekday == 0 || weekday == 6;
}

void computeLoadProfile(LoadProfile* profile) {
    profile->slotCount = demandBlocksPerDay();
    for (int kind = 0; kind < PROFILE_DAY_KINDS; ++kind) {
        for (uint32_t slot = 0; slot < profile->slotCount; ++slot)
            sums[kind][slot] = SlotSums{};
    }
    for (uint32_t b = 0; b < demandBlockCount; ++b) {
        const DemandBlock& block = demandBlocks[b];
        if (!demandBlockCounts(block))
            continue;
        const uint32_t slot = demandBlockSlot(block);
        const int kinds[2] = {PROFILE_ALL_DAYS, isWeekendDay(demandBlockDay(block))
                                                    ? PROFILE_WEEKENDS
                                                    : PROFILE_WORKDAYS};
        const uint128 scaled = uint128(block.sum) * UNIT;
        for (int kind : kinds) {
            SlotSums& s = sums[kind][slot];
            ++s.blocks;
            s.meanSum += scaled / block.values;
            s.cut |= scaled % block.values != 0;
            if (s.lowest == nullptr || demandBlockMeanAbove(*s.lowest, block))
                s.lowest = &block;
            if (s.highest == nullptr || demandBlockMeanAbove(block, *s.highest))
                s.highest = &block;
        }
    }
    for (int kind = 0; kind < PROFILE_DAY_KINDS; ++kind) {
        for (uint32_t slot = 0; slot < profile->slotCount; ++slot) {
            const SlotSums& s = sums[kind][slot];
            ProfileSlot& out = profile->slots[kind][slot];
            out = ProfileSlot{s.blocks, 0, 0, 0};
            if (s.blocks == 0)
                continue;
            out.meanHundredths = meanOfMeans(s);
            out.minHundredths = demandBlockMeanHundredths(*s.lowest);
            out.maxHundredths = demandBlockMeanHundredths(*s.highest);
        }
    }
}
