#include "link/reply_wait.h"

#include "platform/clock.h"
#include "platform/serial_link.h"

namespace {

// Longer than any reader thread needs for the few bytes of a reply, once it
// runs at all.
constexpr uint32_t SETTLE_LIMIT_MS = 500;
// Bytes the port has received can still be on their way to the queue that
// can be counted (a driver's buffers are handed on by the kernel's own
// workers): they count once the port has stayed quiet this long.
constexpr uint32_t QUIET_MS = 10;

// Returns once every byte that had reached the port has been through the
// receive path and no more arrive, the device has gone, or the limit has
// passed.
void settleLink() {
    const uint64_t deadline = monotonicMs() + SETTLE_LIMIT_MS;
    uint64_t arrived = linkBytesArrived();
    for (;;) {
        while (linkBytesHandled() < arrived && !linkDeviceGone() && monotonicMs() < deadline)
            sleepMs(1);
        if (linkDeviceGone() || monotonicMs() >= deadline)
            return;
        sleepMs(QUIET_MS);
        const uint64_t now = linkBytesArrived();
        if (now == arrived)
            return;
        arrived = now;
    }
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
