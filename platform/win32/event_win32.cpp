// The platform's events are Win32 events; the handle is the event itself.
#include <windows.h>

#include "platform/event.h"

static_assert(EVENT_WAIT_FOREVER == INFINITE, "the forever of a wait is the system's");

namespace {

HANDLE handleOf(EventHandle event) {
    return reinterpret_cast<HANDLE>(event);
}

} // namespace

int eventCreate(bool manualReset, EventHandle* event) {
    HANDLE handle = CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
    *event = reinterpret_cast<EventHandle>(handle);
    return handle == nullptr ? int(GetLastError()) : 0;
}

void eventSet(EventHandle event) {
    SetEvent(handleOf(event));
}

void eventReset(EventHandle event) {
    ResetEvent(handleOf(event));
}

bool eventWait(EventHandle event, uint32_t timeoutMs) {
    return WaitForSingleObject(handleOf(event), timeoutMs) == WAIT_OBJECT_0;
}

void eventClose(EventHandle event) {
    if (event != nullptr)
        CloseHandle(handleOf(event));
}
