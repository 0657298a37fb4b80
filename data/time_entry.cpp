#include "data/time_entry.h"

#include <cstring>

#include "base/whole_number.h"
#include "data/time_base.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// An entry is its number with blanks around it, in the field's range.
bool readEntry(const char* text, int field, uint32_t* value) {
    while (isBlank(*text))
        ++text;
    size_t length = std::strlen(text);
    while (length > 0 && isBlank(text[length - 1]))
        --length;
    uint64_t number = 0;
    if (!parseWholeNumber(text, length, uint64_t(TIME_FIELD_HIGHEST[field]), &number) ||
        number < uint64_t(TIME_FIELD_LOWEST[field]))
        return false;
    *value = uint32_t(number);
    return true;
}

} // namespace

bool readTimeEntry(const char* const entries[TIME_FIELD_COUNT], TimeEntry* entry) {
    uint32_t values[TIME_FIELD_COUNT];
    for (int field = 0; field < TIME_FIELD_COUNT; ++field) {
        if (!readEntry(entries[field], field, &values[field]))
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
