#include "link/tx_ring.h"

#include "platform/serial_link.h"

TxRing txRing;

namespace {

// One slot always stays free, so equal indices can only mean empty.
constexpr uint32_t TX_RING_MAX_PENDING = TX_RING_SIZE - 1;

uint32_t ringDistance(uint32_t from, uint32_t to) {
    return (to - from) % TX_RING_SIZE;
}

} // namespace

uint32_t txRingPending() {
    uint32_t read = txRing.readIndex.load(std::memory_order_acquire);
    uint32_t write = txRing.writeIndex.load(std::memory_order_acquire);
    return ringDistance(read, write);
}

bool txRingPut(const uint8_t* bytes, uint32_t count) {
    uint32_t write = txRing.writeIndex.load(std::memory_order_relaxed);
    // Acquire: the writer thread has finished copying the bytes it released.
    uint32_t read = txRing.readIndex.load(std::memory_order_acquire);
    bool fits = count <= TX_RING_MAX_PENDING - ringDistance(read, write);
    if (fits) {
        for (uint32_t i = 0; i < count; ++i) {
            txRing.bytes[(write + i) % TX_RING_SIZE] = bytes[i];
        }
        txRing.writeIndex.store((write + count) % TX_RING_SIZE, std::memory_order_release);
    }
    // Woken even when the frame was dropped: a ring filled while no link was
    // open would otherwise never drain once one opens.
    linkWakeWriter();
    return fits;
}

uint32_t txRingTake(uint8_t buffer[TX_RING_SIZE]) {
    uint32_t read = txRing.readIndex.load(std::memory_order_relaxed);
    uint32_t write = txRing.writeIndex.load(std::memory_order_acquire);
    uint32_t count = ringDistance(read, write);
    for (uint32_t i = 0; i < count; ++i) {
        buffer[i] = txRing.bytes[(read + i) % TX_RING_SIZE];
    }
    txRing.readIndex.store(write, std::memory_order_release);
    return count;
}
