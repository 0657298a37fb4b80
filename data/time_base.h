// Time stamps made after the fact: the device sends bare values, so every
// record's stamp is stepped by the interval from one given calendar time.
#pragma once
#include <cstdint>

#include "platform/clock.h"

struct SampleRecord;

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

// Days from 1 January 1970 to a date of the Gregorian calendar, and back.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day);
void civilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day);
