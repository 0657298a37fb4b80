#include <cerrno>
#include <ctime>

#include "platform/clock.h"

void getLocalTime(SystemTime* time) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    time->year = static_cast<uint16_t>(local.tm_year + 1900);
    time->month = static_cast<uint16_t>(local.tm_mon + 1);
    time->dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time->day = static_cast<uint16_t>(local.tm_mday);
    time->hour = static_cast<uint16_t>(local.tm_hour);
    time->minute = static_cast<uint16_t>(local.tm_min);
    // A leap second (60) would make a stamp no calendar accepts.
    time->second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    time->milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

uint64_t monotonicMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

void sleepMs(uint32_t ms) {
    timespec left;
    left.tv_sec = ms / 1000;
    left.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    // A signal must not cut the sleep short.
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
