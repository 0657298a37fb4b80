// The PC's clock: the local calendar time, and a monotonic clock for waits.
#pragma once
#include <cstdint>

// A calendar time with the fields of a Win32 SYSTEMTIME.
struct SystemTime {
    uint16_t year; // full year, e.g. 2009
    uint16_t month;
    uint16_t dayOfWeek; // ignored by stamping
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds; // ignored by stamping
};

void getLocalTime(SystemTime* time);
// A monotonic clock for waits and measurements.
uint64_t monotonicMs();
void sleepMs(uint32_t ms);
