// A range of stamps, as people write them, and the records in it.
#pragma once
#include <cstdint>

constexpr int64_t RANGE_OPEN_START = INT64_MIN;
constexpr int64_t RANGE_OPEN_END = INT64_MAX;

// Reads a stamp in ISO 8601 local time as the CSV writes it
// (2009-12-25T14:30:05.00), or shortened to its date, minutes or seconds, and
// with a blank for the T; a year the records can hold (2000..2255). True with
// *moment as stampMoment gives it, when the text is such a calendar time.
bool parseStampText(const char* text, int64_t* moment);
// Keeps in the store only the records stamped from (inclusive) to
// (exclusive), in their order; a record whose stamp is no calendar time is in
// no range. The header's count becomes how many were kept, which it returns.
uint32_t keepRecordsBetween(int64_t from, int64_t to);
