// The spans a transfer can fetch and the span selector shows, in fiftieths of
// a second (twice an entry is the span in hundredths, the interval's unit).
// The label of entry k is text id TEXT_SPAN_FIRST + k.
#pragma once
#include <cstdint>

constexpr int AMOUNT_COUNT = 14;
constexpr int AMOUNT_DEFAULT = 7; // "5 hours", offered at every interval

extern const uint32_t amountTable[AMOUNT_COUNT];

// Whether the acquisition dialog offers span k at interval I.
bool amountOffered(int k, uint16_t interval);
// The samples span k asks for at interval I (not 0): twice the entry divided
// by I, rounded down, at most the store's capacity.
uint32_t amountSampleCount(int k, uint16_t interval);
