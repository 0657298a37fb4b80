// The daily profile: for each time-of-day block, the mean, the lowest and
// the highest of the counting demand blocks' means at that time of day, over
// all days, the working days (Monday to Friday) and the weekends, by the
// calendar date of the stamps. Read from the block table of the last summary
// (data/demand_blocks.h).
#pragma once
#include <cstdint>

#include "data/demand_blocks.h"

enum ProfileDays { PROFILE_ALL_DAYS, PROFILE_WORKDAYS, PROFILE_WEEKENDS, PROFILE_DAY_KINDS };

struct ProfileSlot {
    uint32_t blocks; // counting blocks at this time of day; the rest needs one
    uint32_t meanHundredths;
    uint32_t minHundredths;
    uint32_t maxHundredths;
};

struct LoadProfile {
    uint32_t slotCount; // blocks per day
    ProfileSlot slots[PROFILE_DAY_KINDS][MINUTES_PER_DAY];
};

void computeLoadProfile(LoadProfile* profile);
// Whether a day since 1 January 1970 is a Saturday or a Sunday.
bool isWeekendDay(int64_t day);
