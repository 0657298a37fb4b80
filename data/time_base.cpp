#include "data/time_base.h"

#include <cstring>

#include "data/sample_store.h"

namespace {

constexpr uint8_t DAYS_IN_MONTH[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// A month byte out of range (from a data file) must not index past the table.
constexpr uint8_t DAYS_IN_UNKNOWN_MONTH = 31;
constexpr uint8_t FEBRUARY = 2;

// The three step classes. The units digit of a 10..99 interval is never applied.
enum class StepClass { Hundredths, Tenths, Second };

struct Step {
    StepClass kind;
    uint8_t amount; // hundredths or tenths; unused for whole seconds
};

Step stepFor(uint16_t interval) {
    if (interval <= 9) {
        return {StepClass::Hundredths, static_cast<uint8_t>(interval)};
    }
    if (interval <= 99) {
        return {StepClass::Tenths, static_cast<uint8_t>(interval / 10)};
    }
    return {StepClass::Second, 0};
}

// Fields are bytes on purpose: stepping below zero wraps above the range, as
// stepping a stamp from a data file with out-of-range bytes must.
void stepForward(SampleRecord& r, Step step) {
    switch (step.kind) {
    case StepClass::Hundredths:
        r.hundredths = static_cast<uint8_t>(r.hundredths + step.amount);
        if (r.hundredths > 9) {
            r.hundredths = static_cast<uint8_t>(r.hundredths - 10);
            ++r.tenths;
            if (r.tenths > 9) {
                r.tenths = 0;
                ++r.second;
            }
        }
        break;
    case StepClass::Tenths:
        r.tenths = static_cast<uint8_t>(r.tenths + step.amount);
        if (r.tenths > 9) {
            r.tenths = static_cast<uint8_t>(r.tenths - 10);
            ++r.second;
        }
        break;
    case StepClass::Second:
        ++r.second;
        break;
    }
    if (r.second <= 59) {
        return;
    }
    r.second = 0;
    ++r.minute;
    if (r.minute <= 59) {
        return;
    }
    r.minute = 0;
    ++r.hour;
    if (r.hour <= 23) {
        return;
    }
    r.hour = 0;
    ++r.day;
    if (r.day <= daysIn(r.month, r.year)) {
        return;
    }
    r.day = 1;
    ++r.month;
    if (r.month > 12) {
        r.month = 1;
        ++r.year;
    }
}

void stepBackward(SampleRecord& r, Step step) {
    switch (step.kind) {
    case StepClass::Hundredths:
        if (r.hundredths >= step.amount) {
            r.hundredths = static_cast<uint8_t>(r.hundredths - step.amount);
        } else {
            r.hundredths = static_cast<uint8_t>(r.hundredths + 10 - step.amount);
            if (r.tenths > 0) {
                --r.tenths;
            } else {
                r.tenths = 9;
                --r.second;
            }
        }
        break;
    case StepClass::Tenths:
        if (r.tenths >= step.amount) {
            r.tenths = static_cast<uint8_t>(r.tenths - step.amount);
        } else {
            r.tenths = static_cast<uint8_t>(r.tenths + 10 - step.amount);
            --r.second;
        }
        break;
    case StepClass::Second:
        --r.second;
        break;
    }
    if (r.second <= 59) {
        return;
    }
    r.second = 59;
    --r.minute;
    if (r.minute <= 59) {
        return;
    }
    r.minute = 59;
    --r.hour;
    if (r.hour <= 23) {
        return;
    }
    r.hour = 23;
    if (r.day > 1) {
        --r.day;
        return;
    }
    if (r.month > 1) {
        --r.month;
    } else {
        r.month = 12;
        --r.year;
    }
    r.day = daysIn(r.month, r.year);
}

SampleRecord anchorStamp(const SystemTime& time) {
    SampleRecord r{};
    r.year = static_cast<uint8_t>(time.year < 100 ? time.year : time.year % 100);
    r.month = static_cast<uint8_t>(time.month);
    r.day = static_cast<uint8_t>(time.day);
    r.hour = static_cast<uint8_t>(time.hour);
    r.minute = static_cast<uint8_t>(time.minute);
    r.second = static_cast<uint8_t>(time.second);
    return r; // the sub-second part of the given time is dropped
}

// Writes the eight time bytes and leaves the value byte alone.
void writeStamp(SampleRecord& target, const SampleRecord& stamp) {
    uint8_t value = target.value;
    target = stamp;
    target.value = value;
}

} // namespace

uint8_t daysIn(uint8_t month, uint8_t year) {
    if (month < 1 || month > 12) {
        return DAYS_IN_UNKNOWN_MONTH;
    }
    if (month == FEBRUARY && (year & 3) == 0) {
        return 29;
    }
    return DAYS_IN_MONTH[month];
}

void stampFromEnd(const SystemTime& time) {
    stampFromEndBefore(time, 0);
}

void stampFromEndBefore(const SystemTime& time, uint32_t steps) {
    uint32_t count = storableCount(dataHeader.count);
    if (count == 0) {
        return;
    }
    Step step = stepFor(dataHeader.interval);
    SampleRecord stamp = anchorStamp(time);
    // Stepped one by one, so that every carry and borrow is the one the
    // whole run of records would have seen.
    for (uint32_t k = 0; k < steps; ++k) {
        stepBackward(stamp, step);
    }
    writeStamp(sampleStore[count - 1], stamp);
    for (uint32_t k = count - 1; k-- > 0;) {
        stepBackward(stamp, step);
        writeStamp(sampleStore[k], stamp);
    }
}

void stampFromStart(const SystemTime& time) {
    uint32_t count = storableCount(dataHeader.count);
    if (count == 0) {
        return;
    }
    Step step = stepFor(dataHeader.interval);
    SampleRecord stamp = anchorStamp(time);
    writeStamp(sampleStore[0], stamp);
    for (uint32_t k = 1; k < count; ++k) {
        stepForward(stamp, step);
        writeStamp(sampleStore[k], stamp);
    }
}

SystemTime stampTime(const SampleRecord& record) {
    SystemTime time = {};
    time.year = uint16_t(2000 + record.year);
    time.month = record.month;
    time.day = record.day;
    time.hour = record.hour;
    time.minute = record.minute;
    time.second = record.second;
    return time;
}

bool isCalendarTime(const SystemTime& time) {
    if (time.month < 1 || time.month > 12 || time.day < 1) {
        return false;
    }
    const bool leap = (time.year % 4 == 0 && time.year % 100 != 0) || time.year % 400 == 0;
    const unsigned days = DAYS_IN_MONTH[time.month] + (time.month == FEBRUARY && leap ? 1 : 0);
    return time.day <= days && time.hour <= 23 && time.minute <= 59 && time.second <= 59;
}

bool isCalendarStamp(const SampleRecord& r) {
    return isCalendarTime(stampTime(r)) && r.tenths <= 9 && r.hundredths <= 9;
}

int64_t stampMoment(const SampleRecord& r) {
    if (!isCalendarStamp(r))
        return -1;
    const int64_t days = daysFromCivil(r.year + 2000, r.month, r.day);
    const int64_t seconds = ((days * 24 + r.hour) * 60 + r.minute) * 60 + r.second;
    return seconds * 100 + r.tenths * 10 + r.hundredths;
}

void stampCacheMinute(const SampleRecord& r, StampCache* cache) {
    const uint8_t minute[5] = {r.year, r.month, r.day, r.hour, r.minute};
    std::memcpy(cache->minute, minute, sizeof minute);
    cache->known = true;
    const SampleRecord whole{r.year, r.month, r.day, r.hour, r.minute, 0, 0, 0, 0};
    cache->minuteMoment = stampMoment(whole);
    cache->calendar = cache->minuteMoment >= 0;
}

// Whole eras of 400 years (146,097 days) keep both directions exact for any
// year, before 1970 too.
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = unsigned(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + int64_t(dayOfEra) - 719468;
}

void civilFromDays(int64_t days, int64_t* year, unsigned* month, unsigned* day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = unsigned(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    *day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    *month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    *year = int64_t(yearOfEra) + era * 400 + (*month <= 2);
}
