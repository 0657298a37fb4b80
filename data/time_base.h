// Time stamps made after the fact: the device sends bare values, so every
// record's stamp is stepped by the interval from one given calendar time.
#pragma once
#include <cstdint>

#include "data/sample_store.h"
#include "platform/clock.h"

uint8_t daysIn(uint8_t month, uint8_t year);
// Both act on records 0..dataHeader.count-1 with dataHeader.interval and touch
// nothing when count is 0. A count past the capacity stamps the whole store.
void stampFromEnd(const SystemTime& time);
// As stampFromEnd for records that end steps intervals before time: each
// record gets the stamp it would have as one of count + steps records stamped
// backward from time, the newest of which the store does not hold.
void stampFromEndBefore(const SystemTime& time, uint32_t steps);
void stampFromStart(const SystemTime& time);

// A record's stamp as a calendar time (year + 2000), without its tenths and
// hundredths.
SystemTime stampTime(const SampleRecord& record);
// Whether a record's stamp names a real moment of the Gregorian calendar. A
// stamp from a data file, or one stepped past 28 February 2100 (which the
// stepping takes for a leap year), may not.
bool isCalendarStamp(const SampleRecord& record);
// A time the Gregorian calendar holds (29 February 2100 is none, though the
// stamping's own leap rule steps through it).
bool isCalendarTime(const SystemTime& time);

// The moment a stamp names, in hundredths of a second since 1 January 1970,
// so that stamps compare as numbers; -1 for a stamp that is no calendar time.
int64_t stampMoment(const SampleRecord& record);

// Consecutive records mostly share their minute: a pass over many records
// works a stamp's moment out from the last minute looked at when they do.
struct StampCache {
    uint8_t minute[5] = {0, 0, 0, 0, 0}; // year, month, day, hour, minute
    bool known = false;
    bool calendar = false;     // whether that minute is a calendar time
    int64_t minuteMoment = -1; // its moment, as stampMoment gives it
};
// Looks up a new minute for stampMomentCached.
void stampCacheMinute(const SampleRecord& record, StampCache* cache);
// stampMoment, through cache. Inline: it runs once for every record of a
// million, mostly in the minute of the record before.
inline int64_t stampMomentCached(const SampleRecord& r, StampCache* cache) {
    const uint8_t* m = cache->minute;
    if (!cache->known || r.minute != m[4] || r.hour != m[3] || r.day != m[2] || r.month != m[1] ||
        r.year != m[0])
        stampCacheMinute(r, cache);
    if (!cache->calendar || r.second > 59 || r.tenths > 9 || r.hundredths > 9)
        return -1;
    return cache->minuteMoment + r.second * 100 + r.tenths * 10 + r.hundredths;
}

// Days from 1 January 1970 to a date of the Gregorian calendar, and back.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day);
void civilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day);
