#include "link/reply_wait.h"

#include "link/serial_link.h"
#include "platform/clock.h"

namespace {

// Longer than any reader thread needs for the few bytes of a reply, once it
// runs at all.
constexpr uint32_t SETTLE_LIMIT_MS = 500;

// Returns once every byte that had reached the port has been through the
// receive path, the device has gone, or the limit has passed.
void settleLink() {
    const uint64_t arrived = linkBytesArrived();
    const uint64_t deadline = monotonicMs() + SETTLE_LIMIT_MS;
    while (linkBytesHandled() < arrived && !linkDeviceGone() && monotonicMs() < deadline)
        sleepMs(1);
}

} // namespace

bool awaitReply(const std::atomic<EventHandle>& event, uint32_t ms) {
    EventHandle handle = event.load(std::memory_order_acquire);
    if (handle == nullptr)
        return false;
    bool replied = eventWait(handle, ms);
    if (!replied) {
        settleLink();
        replied = eventWait(handle, 0);
    }
    eventReset(handle);
    return replied;
}
