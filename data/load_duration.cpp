#include "data/load_duration.h"

#include <algorithm>
#include <functional>

#include "data/demand_blocks.h"

namespace {

constexpr int CODE_COUNT = 256;

// The counting blocks' means, highest first. Static like the table.
uint32_t blockMeans[SAMPLE_STORE_CAPACITY];

// How many of total must reach point p's value: p % of them, at least one.
uint64_t reaching(int p, uint64_t total) {
    const uint64_t share = (uint64_t(p) * total + 99) / 100;
    return share > 0 ? share : 1;
}

} // namespace

void computeLoadDuration(const RecordScope& scope, LoadDuration* duration) {
    uint32_t histogram[CODE_COUNT] = {};
    uint32_t values = 0;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const uint8_t code = sampleStore[i].value;
        if (isValueCode(code)) {
            ++histogram[code];
            ++values;
        }
    }
    duration->samplesKnown = values > 0;
    int code = CODE_COUNT - 1;
    uint64_t reached = histogram[code];
    for (int p = 0; p < DURATION_POINTS && values > 0; ++p) {
        while (reached < reaching(p, values))
            reached += histogram[--code];
        duration->samples[p] = uint8_t(code);
    }

    uint32_t blocks = 0;
    for (uint32_t b = 0; b < demandBlockCount; ++b) {
        if (demandBlockCounts(demandBlocks[b]))
            blockMeans[blocks++] = demandBlockMeanHundredths(demandBlocks[b]);
    }
    std::sort(blockMeans, blockMeans + blocks, std::greater<uint32_t>());
    duration->blocksKnown = blocks > 0;
    for (int p = 0; p < DURATION_POINTS && blocks > 0; ++p)
        duration->blockHundredths[p] = blockMeans[reaching(p, blocks) - 1];
}
