#include "data/sample_store.h"

SampleRecord sampleStore[SAMPLE_STORE_CAPACITY];
DataHeader dataHeader;
bool dataPresent;
std::atomic<uint32_t> receivedCount;
uint8_t stagedValues[SAMPLE_STORE_CAPACITY];

void appendValue(uint8_t value) {
    // Only the reader thread advances the count, so a relaxed read is its own.
    uint32_t position = receivedCount.load(std::memory_order_relaxed);
    // A device that sends more than it was asked for must not run past the store.
    if (position >= SAMPLE_STORE_CAPACITY) {
        return;
    }
    stagedValues[position] = value;
    receivedCount.store(position + 1, std::memory_order_release);
}

void commitStagedValues(uint32_t count) {
    if (count > SAMPLE_STORE_CAPACITY) {
        count = SAMPLE_STORE_CAPACITY;
    }
    for (uint32_t i = 0; i < count; ++i) {
        sampleStore[i].value = stagedValues[i];
    }
    dataHeader.count = count;
}
