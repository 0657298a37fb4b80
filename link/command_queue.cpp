#include "link/command_queue.h"

CommandQueue commandQueue;

namespace {

uint32_t nextSlot(uint32_t index) {
    return (index + 1) % COMMAND_QUEUE_SIZE;
}

} // namespace

uint32_t commandQueueRoom() {
    uint32_t waiting = (commandQueue.writeIndex - commandQueue.readIndex) % COMMAND_QUEUE_SIZE;
    return COMMAND_QUEUE_SIZE - 1 - waiting;
}

bool queueCode(uint16_t code) {
    // A 32nd code would make the queue look empty and lose all 31 waiting.
    if (commandQueueRoom() == 0) {
        return false;
    }
    commandQueue.codes[commandQueue.writeIndex] = code;
    commandQueue.writeIndex = nextSlot(commandQueue.writeIndex);
    return true;
}

bool commandQueueEmpty() {
    return commandQueue.writeIndex == commandQueue.readIndex;
}

bool commandQueueTake(uint16_t* code) {
    if (commandQueueEmpty()) {
        return false;
    }
    *code = commandQueue.codes[commandQueue.readIndex];
    commandQueue.readIndex = nextSlot(commandQueue.readIndex);
    return true;
}
