#include <windows.h>

#include "platform/clock.h"

void getLocalTime(SystemTime* time) {
    SYSTEMTIME local;
    GetLocalTime(&local);
    time->year = local.wYear;
    time->month = local.wMonth;
    time->dayOfWeek = local.wDayOfWeek;
    time->day = local.wDay;
    time->hour = local.wHour;
    time->minute = local.wMinute;
    time->second = local.wSecond;
    time->milliseconds = local.wMilliseconds;
}

uint64_t monotonicMs() {
    return GetTickCount64();
}

void sleepMs(uint32_t ms) {
    Sleep(ms);
}
