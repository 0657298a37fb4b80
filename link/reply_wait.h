// Waiting for the device's answer to a code the PC sent.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/event.h"

// Waits up to ms for a reply event that the reader thread sets, and resets
// it. A reply whose bytes had reached the port by the deadline counts,
// however late the reader thread got to them on a loaded machine. A missing
// event (its creation failed at start-up) counts as a reply that never came.
bool awaitReply(const std::atomic<EventHandle>& event, uint32_t ms);
