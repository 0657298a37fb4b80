#pragma once
#include <cstdint>

#include "data/time_base.h"

void getLocalTime(SystemTime* time);
// A monotonic clock for waits and measurements.
uint64_t monotonicMs();
void sleepMs(uint32_t ms);
