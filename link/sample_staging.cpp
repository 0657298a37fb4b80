#include "link/sample_staging.h"

std::atomic<uint32_t> receivedCount;
uint8_t stagedValues[STAGING_CAPACITY];

void appendValue(uint8_t value) {
    uint32_t position = receivedCount.load(std::memory_order_relaxed);
    for (;;) {
        // A device that sends more than it was asked for must not run past the store.
        if (position >= STAGING_CAPACITY) {
            return;
        }
        stagedValues[position] = value;
        // A second Transfer restarts the count at 0 while values of the first
        // still arrive; a plain store of position + 1 could undo that restart,
        // and the new reception would complete at once on the old count.
        if (receivedCount.compare_exchange_weak(position, position + 1, std::memory_order_release,
                                                std::memory_order_relaxed)) {
            return;
        }
    }
}
