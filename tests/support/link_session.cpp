#include "tests/support/link_session.h"

#include "acquire/transfer_sequence.h"
#include "data/sample_store.h"
#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "platform/event.h"

namespace {

// Coarse enough that watching a transfer costs the process next to nothing.
constexpr uint32_t POLL_STEP_MS = 10;

bool createInto(std::atomic<EventHandle>& slot) {
    EventHandle event = nullptr;
    if (eventCreate(true, &event) != 0)
        return false;
    slot.store(event, std::memory_order_release);
    return true;
}

void closeFrom(std::atomic<EventHandle>& slot) {
    eventClose(slot.exchange(nullptr, std::memory_order_acq_rel));
}

void pumpUntilQueueEmpty() {
    while (!commandQueueEmpty()) {
        pumpTick();
        sleepMs(LINK_PUMP_STEP_MS);
    }
}

} // namespace

bool createReplyEvents() {
    return createInto(pingReplyEvent) && createInto(countReplyEvent);
}

void closeReplyEvents() {
    closeFrom(pingReplyEvent);
    closeFrom(countReplyEvent);
}

void clearLinkLeftovers() {
    rxLine.length = 0;
    uint16_t code;
    while (commandQueueTake(&code)) {
    }
    countConfirmPending = false;
}

bool pingDevice(uint32_t timeoutMs) {
    EventHandle reply = pingReplyEvent.load(std::memory_order_acquire);
    eventReset(reply);
    sendPing();
    bool replied = eventWait(reply, timeoutMs);
    eventReset(reply);
    return replied;
}

bool askCount(uint32_t count, uint32_t timeoutMs) {
    EventHandle echo = countReplyEvent.load(std::memory_order_acquire);
    eventReset(echo);
    if (!queueCount(count))
        return false;
    pumpUntilQueueEmpty();
    bool echoed = eventWait(echo, timeoutMs);
    eventReset(echo);
    return echoed;
}

void startReception() {
    receivedCount.store(0, std::memory_order_release);
    queueCode(DEV_START);
    pumpUntilQueueEmpty();
}

bool beginTransfer(uint32_t count) {
    if (!pingDevice() || !askCount(count))
        return false;
    startReception();
    return true;
}

bool waitReceived(uint32_t target, uint32_t timeoutMs) {
    uint64_t deadline = monotonicMs() + timeoutMs;
    while (receivedCount.load(std::memory_order_acquire) < target) {
        if (monotonicMs() > deadline)
            return false;
        sleepMs(POLL_STEP_MS);
    }
    return true;
}

uint32_t waitReceivedSettled(uint32_t quietMs, uint32_t timeoutMs) {
    uint64_t deadline = monotonicMs() + timeoutMs;
    uint32_t last = receivedCount.load(std::memory_order_acquire);
    uint64_t lastChange = monotonicMs();
    while (monotonicMs() < deadline && monotonicMs() - lastChange < quietMs) {
        sleepMs(POLL_STEP_MS);
        uint32_t now = receivedCount.load(std::memory_order_acquire);
        if (now != last) {
            last = now;
            lastChange = monotonicMs();
        }
    }
    return last;
}
