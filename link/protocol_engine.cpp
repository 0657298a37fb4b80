#include "link/protocol_engine.h"

#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "link/sample_staging.h"
#include "link/tx_ring.h"

uint8_t countRegister[4];
std::atomic<uint32_t> expectedCount;
std::atomic<uint16_t> deviceInterval;
std::atomic<EventHandle> pingReplyEvent;
std::atomic<EventHandle> countReplyEvent;
bool countConfirmPending;

namespace {

constexpr uint32_t COUNT_CODES = 3;

CountConfirmHandler countConfirmHandler;
PumpIdleHandler pumpIdleHandler;

uint32_t countRegisterValue() {
    return static_cast<uint32_t>(countRegister[0]) | static_cast<uint32_t>(countRegister[1]) << 8 |
           static_cast<uint32_t>(countRegister[2]) << 16 |
           static_cast<uint32_t>(countRegister[3]) << 24;
}

// The link opens before start-up creates the events; a reply that early has
// nobody waiting for it.
void setIfCreated(const std::atomic<EventHandle>& event) {
    EventHandle handle = event.load(std::memory_order_acquire);
    if (handle != nullptr) {
        eventSet(handle);
    }
}

} // namespace

void receiveBytes(const uint8_t* bytes, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* line = assembleByte(bytes[i]);
        if (line != nullptr && checkFrame(line)) {
            dispatchValue(decodeFrame(line));
        }
    }
}

void dispatchValue(uint16_t value) {
    if (value <= DEV_SAMPLE_MAX) {
        appendValue(static_cast<uint8_t>(value));
    } else if (value < DEV_COUNT_LO) {
        // no code lives here
    } else if (value <= DEV_COUNT_LO_LAST) {
        countRegister[0] = static_cast<uint8_t>((value - DEV_COUNT_LO) % 256);
    } else if (value <= DEV_COUNT_MID_LAST) {
        countRegister[1] = static_cast<uint8_t>((value - DEV_COUNT_MID) % 256);
    } else if (value <= DEV_COUNT_HI_LAST) {
        countRegister[2] = static_cast<uint8_t>((value - DEV_COUNT_HI) % 256);
        countRegister[3] = 0;
        expectedCount.store(countRegisterValue(), std::memory_order_release);
        setIfCreated(countReplyEvent);
    } else if (value <= DEV_INTERVAL_LAST) {
        deviceInterval.store(static_cast<uint16_t>(value - DEV_INTERVAL),
                             std::memory_order_release);
    } else if (value == DEV_PING_REPLY) {
        setIfCreated(pingReplyEvent);
    } else if (value == DEV_STOP) {
        expectedCount.store(receivedCount.load(std::memory_order_acquire),
                            std::memory_order_release);
    }
}

void sendCode(uint16_t code) {
    uint8_t frame[FRAME16_SIZE];
    encodeFrame(code, frame);
    txRingPut(frame, FRAME16_SIZE);
}

void sendPing() {
    sendCode(DEV_PING);
}

void sendStop() {
    sendCode(DEV_STOP);
}

bool queueCount(uint32_t count) {
    // Part of a count would be completed by the device with stale bytes.
    if (commandQueueRoom() < COUNT_CODES) {
        return false;
    }
    queueCode(static_cast<uint16_t>(DEV_COUNT_LO + (count & 0xFF)));
    queueCode(static_cast<uint16_t>(DEV_COUNT_MID + ((count >> 8) & 0xFF)));
    queueCode(static_cast<uint16_t>(DEV_COUNT_HI + ((count >> 16) & 0xFF)));
    return true;
}

void pumpTick() {
    uint16_t code;
    if (commandQueueTake(&code)) {
        sendCode(code);
        return;
    }
    if (countConfirmPending) {
        countConfirmPending = false;
        if (countConfirmHandler != nullptr) {
            countConfirmHandler();
        }
    } else if (pumpIdleHandler != nullptr) {
        pumpIdleHandler();
    }
}

void setCountConfirmHandler(CountConfirmHandler handler) {
    countConfirmHandler = handler;
}

void setPumpIdleHandler(PumpIdleHandler handler) {
    pumpIdleHandler = handler;
}
