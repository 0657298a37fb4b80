// The values of a running reception, staged apart from the data on display:
// the reader thread appends, and only a completed transfer makes them the data
// (acquire/transfer_sequence.h), so an abort, a vanished device or a stalled
// stream never touches what the user already has.
#pragma once
#include <atomic>
#include <cstdint>

// As many values as the sample store holds records.
constexpr uint32_t STAGING_CAPACITY = 1u << 20;

// The append position of a running transfer. The reader thread advances it
// with release after storing the value; readers take it with acquire.
extern std::atomic<uint32_t> receivedCount;
extern uint8_t stagedValues[STAGING_CAPACITY];

// Reader thread: stages one value; a value past the capacity is dropped.
void appendValue(uint8_t value);
