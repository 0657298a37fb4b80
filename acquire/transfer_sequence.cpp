// The link side of a transfer. The reader thread stages the values of a
// reception apart from the data on display (link/sample_staging.h); only
// completion makes them the data.
#include "acquire/transfer_sequence.h"

#include "data/amount_table.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/protocol_engine.h"
#include "link/reply_wait.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "platform/event.h"

static_assert(STAGING_CAPACITY == SAMPLE_STORE_CAPACITY, "a reception fills the store at most");

bool transferActive;
uint32_t progressDivisor = 1;

namespace {

// The span and the interval of a count. The request of the last Get waits in
// transferAsked for the device's echo and becomes transferReceiving only when
// the reception starts, so a second Transfer chosen while one is receiving
// cannot change what the first commits.
struct TransferRequest {
    int amountIndex;
    uint16_t interval;
};
TransferRequest transferAsked;
TransferRequest transferReceiving;

void resetReply(const std::atomic<EventHandle>& event) {
    EventHandle handle = event.load(std::memory_order_acquire);
    if (handle != nullptr)
        eventReset(handle);
}

} // namespace

bool pingForTransfer() {
    resetReply(pingReplyEvent);
    sendPing();
    return awaitReply(pingReplyEvent, REPLY_WAIT_MS);
}

bool requestCount(int amountIndex, uint16_t interval) {
    uint32_t n = amountSampleCount(amountIndex, interval);
    expectedCount.store(n, std::memory_order_release);
    transferAsked = {amountIndex, interval};
    resetReply(countReplyEvent);
    if (!queueCount(n))
        return false;
    countConfirmPending = true;
    return true;
}

bool beginReception() {
    // The echo may have come while the count codes left; the event keeps it.
    if (!awaitReply(countReplyEvent, REPLY_WAIT_MS))
        return false;
    queueCode(DEV_START);
    // The bar is full when the store is.
    uint32_t expected = storableCount(expectedCount.load(std::memory_order_acquire));
    progressDivisor = expected < 100 ? 1 : expected / 100;
    transferReceiving = transferAsked;
    transferActive = true;
    receivedCount.store(0, std::memory_order_release);
    return true;
}

int receptionPercent() {
    uint32_t position = receivedCount.load(std::memory_order_acquire) / progressDivisor;
    return position > 100 ? 100 : int(position);
}

void endReception() {
    transferActive = false;
}

bool completeReception() {
    // The store drops values past its capacity, so an echoed count above it
    // completes once the store is full.
    uint32_t echoed = expectedCount.load(std::memory_order_acquire);
    uint32_t kept = storableCount(echoed);
    if (receivedCount.load(std::memory_order_acquire) < kept)
        return false;
    endReception();
    // The device sends the oldest value first. Past the capacity it still has
    // the newest ones to send: it is stopped, and the values kept are stamped
    // as the oldest of the echoed count, ending that many intervals before
    // now. Values beyond the echoed count were never asked for and are not
    // kept.
    uint32_t unsent = echoed - kept;
    if (unsent > 0)
        sendStop();
    commitStagedValues(kept);
    dataHeader.interval = transferReceiving.interval;
    dataHeader.amountIndex = uint16_t(transferReceiving.amountIndex);
    SystemTime now;
    getLocalTime(&now);
    stampFromEndBefore(now, unsent);
    return true;
}

void commitStagedValues(uint32_t count) {
    count = storableCount(count);
    for (uint32_t i = 0; i < count; ++i) {
        sampleStore[i].value = stagedValues[i];
    }
    dataHeader.count = count;
}
