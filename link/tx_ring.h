// The 32 bytes between the sender (user-interface thread, the only producer)
// and the writer thread (the only consumer).
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/serial_link.h"

struct TxRing {
    uint8_t bytes[TX_RING_SIZE];
    std::atomic<uint32_t> writeIndex; // producer's; published with release
    std::atomic<uint32_t> readIndex;  // consumer's; published with release
};
extern TxRing txRing;

// Puts a whole frame or nothing: a frame that does not fit in the free room is
// dropped (returns false) rather than overwriting unsent bytes. Wakes the
// writer thread of an open link either way, so a full ring always drains.
bool txRingPut(const uint8_t* bytes, uint32_t count);
// The consumer side, txRingTake, is what the writer thread calls
// (platform/serial_link.h).
uint32_t txRingPending();
