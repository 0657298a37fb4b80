// The date and time the set-time dialog takes: six numbers as the user typed
// them, each in its range, the day within its month.
#pragma once
#include <cstdint>

// The entries in the order the dialog lists them.
enum TimeField { FIELD_DAY, FIELD_MONTH, FIELD_YEAR, FIELD_HOUR, FIELD_MINUTE, FIELD_SECOND };
constexpr int TIME_FIELD_COUNT = 6;

// The spinners' ranges; the year's is also what the entry must lie in.
constexpr int TIME_FIELD_LOWEST[TIME_FIELD_COUNT] = {1, 1, 2005, 0, 0, 0};
constexpr int TIME_FIELD_HIGHEST[TIME_FIELD_COUNT] = {31, 12, 2099, 23, 59, 59};
constexpr int TIME_ENTRY_YEAR_BASE = 2000;

struct TimeEntry {
    uint8_t second;
    uint8_t minute;
    uint8_t hour;
    uint8_t day;
    uint8_t month;
    uint8_t year; // year - 2000
};

// True with *entry filled when all six texts are numbers in their ranges and
// the day lies within its month.
bool readTimeEntry(const char* const entries[TIME_FIELD_COUNT], TimeEntry* entry);
