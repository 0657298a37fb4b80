#include "data/time_entry.h"

#include <climits>

#include "data/time_base.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// An entry is a number when it holds decimal digits and nothing else but
// blanks around them, and fits 32 bits unsigned. Its whole value is judged:
// a month of 257 is 257, not a byte's 1.
bool readEntry(const char* text, uint32_t* value) {
    while (isBlank(*text))
        ++text;
    uint64_t number = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + uint64_t(*text - '0');
        if (number > UINT_MAX)
            return false;
    }
    if (text == digits)
        return false;
    while (isBlank(*text))
        ++text;
    *value = uint32_t(number);
    return *text == '\0';
}

} // namespace

bool readTimeEntry(const char* const entries[TIME_FIELD_COUNT], TimeEntry* entry) {
    uint32_t values[TIME_FIELD_COUNT];
    for (int field = 0; field < TIME_FIELD_COUNT; ++field) {
        if (!readEntry(entries[field], &values[field]) ||
            values[field] < uint32_t(TIME_FIELD_LOWEST[field]) ||
            values[field] > uint32_t(TIME_FIELD_HIGHEST[field]))
            return false;
    }
    entry->year = uint8_t(values[FIELD_YEAR] - TIME_ENTRY_YEAR_BASE);
    entry->month = uint8_t(values[FIELD_MONTH]);
    entry->day = uint8_t(values[FIELD_DAY]);
    entry->hour = uint8_t(values[FIELD_HOUR]);
    entry->minute = uint8_t(values[FIELD_MINUTE]);
    entry->second = uint8_t(values[FIELD_SECOND]);
    return entry->day <= daysIn(entry->month, entry->year);
}
