#include "data/load_heatmap.h"

bool nextHeatmapDay(HeatmapCursor* cursor, HeatmapDay* out) {
    if (cursor->nextBlock >= demandBlockCount)
        return false;
    const DemandBlock& first = demandBlocks[cursor->nextBlock];
    out->day = demandBlockDay(first);
    out->date = demandBlockStart(first);
    out->date.hour = out->date.minute = 0;
    out->slotCount = demandBlocksPerDay();
    for (uint32_t slot = 0; slot < out->slotCount; ++slot)
        out->counts[slot] = false;
    for (; cursor->nextBlock < demandBlockCount; ++cursor->nextBlock) {
        const DemandBlock& block = demandBlocks[cursor->nextBlock];
        if (demandBlockDay(block) != out->day)
            break;
        if (!demandBlockCounts(block))
            continue;
        out->counts[demandBlockSlot(block)] = true;
        out->meanHundredths[demandBlockSlot(block)] = demandBlockMeanHundredths(block);
    }
    return true;
}
