#include "data/record_range.h"

#include "data/sample_store.h"
#include "data/time_base.h"

namespace {

// Reads digits exactly digits long at *at and moves past them.
bool takeDigits(const char** at, int digits, unsigned* value) {
    *value = 0;
    for (int k = 0; k < digits; ++k, ++*at) {
        if (**at < '0' || **at > '9')
            return false;
        *value = *value * 10 + unsigned(**at - '0');
    }
    return true;
}

bool takeSeparated(const char** at, char separator, unsigned* value) {
    if (**at != separator)
        return false;
    ++*at;
    return takeDigits(at, 2, value);
}

} // namespace

bool parseStampText(const char* text, int64_t* moment) {
    const char* at = text;
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    if (!takeDigits(&at, 4, &year) || !takeSeparated(&at, '-', &month) ||
        !takeSeparated(&at, '-', &day))
        return false;
    if (*at == 'T' || *at == ' ') {
        ++at;
        if (!takeDigits(&at, 2, &hour) || !takeSeparated(&at, ':', &minute))
            return false;
        if (*at == ':' && !takeSeparated(&at, ':', &second))
            return false;
        if (*at == '.') {
            ++at;
            unsigned tenths = 0;
            if (!takeDigits(&at, 1, &tenths))
                return false;
            unsigned hundredths = 0;
            if (*at >= '0' && *at <= '9')
                takeDigits(&at, 1, &hundredths);
            fraction = tenths * 10 + hundredths;
        }
    }
    if (*at != '\0' || year < 2000 || year > 2255)
        return false;
    SampleRecord record{uint8_t(year - 2000),   uint8_t(month),         uint8_t(day),
                        uint8_t(hour),          uint8_t(minute),        uint8_t(second),
                        uint8_t(fraction / 10), uint8_t(fraction % 10), 0};
    if (month > 12 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return false;
    *moment = stampMoment(record);
    return *moment >= 0;
}

uint32_t keepRecordsBetween(int64_t from, int64_t to) {
    const uint32_t count = storableCount(dataHeader.count);
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const int64_t moment = stampMoment(sampleStore[i]);
        if (moment >= 0 && moment >= from && moment < to)
            sampleStore[kept++] = sampleStore[i];
    }
    dataHeader.count = kept;
    return kept;
}
