// Codes paced out one per pump tick. User-interface thread only.
#pragma once
#include <cstdint>

constexpr uint32_t COMMAND_QUEUE_SIZE = 32;

struct CommandQueue {
    uint16_t codes[COMMAND_QUEUE_SIZE];
    uint32_t writeIndex;
    uint32_t readIndex;
};
extern CommandQueue commandQueue;

// Returns false, queueing nothing, when the queue is full (31 codes waiting).
bool queueCode(uint16_t code);
// How many more codes queueCode would take.
uint32_t commandQueueRoom();
bool commandQueueEmpty();
// Takes the oldest code; false when empty.
bool commandQueueTake(uint16_t* code);
