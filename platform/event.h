// Manual- or auto-reset events with a timed wait, as the link and the reply
// waits need them.
#pragma once
#include <cstdint>

struct PlatformEvent;
using EventHandle = PlatformEvent*;

constexpr uint32_t EVENT_WAIT_FOREVER = 0xFFFFFFFFu;

// Returns 0 or the system error number; *event is null on failure.
int eventCreate(bool manualReset, EventHandle* event);
void eventSet(EventHandle event);
void eventReset(EventHandle event);
// True when the event was signalled within timeoutMs. An auto-reset event is
// consumed by the wait that sees it.
bool eventWait(EventHandle event, uint32_t timeoutMs);
void eventClose(EventHandle event);
