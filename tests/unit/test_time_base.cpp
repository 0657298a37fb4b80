#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "data/sample_store.h"
#include "data/time_base.h"

namespace {

struct Stamp {
    int year, month, day, hour, minute, second, tenths, hundredths;
    bool operator==(const Stamp&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Stamp& s) {
    return out << s.year << '-' << s.month << '-' << s.day << ' ' << s.hour << ':' << s.minute
               << ':' << s.second << '.' << s.tenths << s.hundredths;
}

Stamp stampOf(const SampleRecord& r) {
    return {r.year, r.month, r.day, r.hour, r.minute, r.second, r.tenths, r.hundredths};
}

SystemTime timeOf(int year, int month, int day, int hour, int minute, int second,
                  int milliseconds = 0) {
    SystemTime t{};
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(milliseconds);
    return t;
}

class TimeBase : public ::testing::Test {
  protected:
    static void useStore(uint32_t count, uint16_t interval) {
        dataHeader.count = count;
        dataHeader.interval = interval;
    }
    static Stamp at(uint32_t index) { return stampOf(sampleStore[index]); }
};

TEST_F(TimeBase, DaysInFollowsTheYearByteOnly) {
    EXPECT_EQ(daysIn(2, 0), 29);
    EXPECT_EQ(daysIn(2, 8), 29);
    EXPECT_EQ(daysIn(2, 9), 28);
    EXPECT_EQ(daysIn(2, 100), 29);
    EXPECT_EQ(daysIn(4, 9), 30);
    EXPECT_EQ(daysIn(12, 9), 31);
}

TEST_F(TimeBase, EmptyStoreIsNotTouched) {
    sampleStore[0] = SampleRecord{1, 2, 3, 4, 5, 6, 7, 8, 9};
    useStore(0, 100);
    stampFromEnd(timeOf(2009, 6, 1, 12, 0, 0));
    stampFromStart(timeOf(2009, 6, 1, 12, 0, 0));
    EXPECT_EQ(at(0), (Stamp{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(TimeBase, AnchorDropsTheCentury) {
    useStore(1, 5);
    stampFromStart(timeOf(9, 1, 1, 0, 0, 0));
    EXPECT_EQ(at(0).year, 9);
    stampFromStart(timeOf(2109, 1, 1, 0, 0, 0));
    EXPECT_EQ(at(0).year, 9);
}

TEST_F(TimeBase, StampingLeavesTheValuesAlone) {
    for (uint32_t i = 0; i < 300; ++i) {
        sampleStore[i].value = static_cast<uint8_t>(i);
    }
    useStore(300, 7);
    stampFromStart(timeOf(2009, 12, 31, 23, 59, 59));
    stampFromEnd(timeOf(2009, 12, 31, 23, 59, 59));
    for (uint32_t i = 0; i < 300; ++i) {
        ASSERT_EQ(sampleStore[i].value, static_cast<uint8_t>(i));
    }
}

TEST_F(TimeBase, ForwardInTenthsKeepsHundredthsAtZero) {
    useStore(7, 20);
    stampFromStart(timeOf(2009, 6, 1, 12, 0, 0));
    const int tenths[] = {0, 2, 4, 6, 8, 0, 2};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(at(i).tenths, tenths[i]) << "record " << i;
        EXPECT_EQ(at(i).hundredths, 0) << "record " << i;
        EXPECT_EQ(at(i).second, i < 5 ? 0 : 1) << "record " << i;
    }
}

// Worked stampings: a store of count records at interval, stamped in turn from
// each anchor, and the records each stamping must leave. The record past the
// count holds PAST_THE_COUNT, which no stamping may change.
enum Direction { FROM_START, FROM_END };

struct Stamping {
    Direction direction;
    SystemTime anchor;
    std::vector<std::pair<uint32_t, Stamp>> records; // index, stamp
};

struct StampingCase {
    const char* name;
    uint32_t count;
    uint16_t interval;
    std::vector<Stamping> stampings;
};

// Keeps the test's name readable where GoogleTest would dump the case's bytes.
void PrintTo(const StampingCase& c, std::ostream* out) {
    *out << c.name;
}

const SampleRecord PAST_THE_COUNT{1, 2, 3, 4, 5, 6, 7, 8, 9};

const StampingCase STAMPINGS[] = {
    {"SingleRecordGetsOnlyTheAnchor",
     1,
     100,
     {{FROM_START, timeOf(2009, 6, 1, 12, 0, 0), {{0, {9, 6, 1, 12, 0, 0, 0, 0}}}},
      {FROM_END,
       timeOf(2010, 7, 2, 13, 1, 1),
       {{0, {10, 7, 2, 13, 1, 1, 0, 0}}, {1, stampOf(PAST_THE_COUNT)}}}}},
    {"AnchorDropsMilliseconds",
     1,
     5,
     {{FROM_END, timeOf(2009, 12, 31, 23, 59, 59, 999), {{0, {9, 12, 31, 23, 59, 59, 0, 0}}}}}},
    {"ForwardAtTwoHundredthsCrossesTheYearEnd",
     60,
     2,
     {{FROM_START,
       timeOf(2009, 12, 31, 23, 59, 59),
       {{49, {9, 12, 31, 23, 59, 59, 9, 8}}, {50, {10, 1, 1, 0, 0, 0, 0, 0}}}}}},
    {"BackwardOverTheEndOfFebruary",
     2,
     100,
     {{FROM_END, timeOf(2008, 3, 1, 0, 0, 0), {{0, {8, 2, 29, 23, 59, 59, 0, 0}}}},
      {FROM_END, timeOf(2009, 3, 1, 0, 0, 0), {{0, {9, 2, 28, 23, 59, 59, 0, 0}}}}}},
    {"BackwardInHundredthsBorrowsFromTheSecond",
     4,
     5,
     {{FROM_END,
       timeOf(2009, 6, 1, 12, 0, 0),
       {{3, {9, 6, 1, 12, 0, 0, 0, 0}},
        {2, {9, 6, 1, 11, 59, 59, 9, 5}},
        {1, {9, 6, 1, 11, 59, 59, 9, 0}},
        {0, {9, 6, 1, 11, 59, 59, 8, 5}}}}}},
    {"UnitsDigitOfATenthsIntervalIsNotApplied",
     12,
     15,
     {{FROM_START,
       timeOf(2009, 6, 1, 12, 0, 0),
       {{1, {9, 6, 1, 12, 0, 0, 1, 0}}, {11, {9, 6, 1, 12, 0, 1, 1, 0}}}},
      {FROM_END, timeOf(2009, 6, 1, 12, 0, 0), {{10, {9, 6, 1, 11, 59, 59, 9, 0}}}}}},
    {"ZeroIntervalGivesEveryRecordTheAnchor",
     100,
     0,
     {{FROM_START, timeOf(2009, 6, 1, 12, 0, 0), {{99, {9, 6, 1, 12, 0, 0, 0, 0}}}},
      {FROM_END, timeOf(2009, 6, 2, 12, 0, 0), {{0, {9, 6, 2, 12, 0, 0, 0, 0}}}}}},
    {"IntervalsAboveOneSecondStepByOneSecond",
     3,
     250,
     {{FROM_START, timeOf(2009, 6, 1, 12, 0, 0), {{2, {9, 6, 1, 12, 0, 2, 0, 0}}}},
      {FROM_END, timeOf(2009, 6, 1, 12, 0, 0), {{0, {9, 6, 1, 11, 59, 58, 0, 0}}}}}},
    {"YearByteWrapsBelowZeroAndPastNinetyNine",
     2,
     100,
     {{FROM_END, timeOf(2000, 1, 1, 0, 0, 0), {{0, {255, 12, 31, 23, 59, 59, 0, 0}}}},
      {FROM_START, timeOf(2099, 12, 31, 23, 59, 59), {{1, {100, 1, 1, 0, 0, 0, 0, 0}}}}}},
    // A data file can hold any bytes; the month must not index past the table.
    {"OutOfRangeMonthFromAFileIsSteppedWithoutHarm",
     2,
     100,
     {{FROM_START, timeOf(2009, 200, 31, 23, 59, 59), {{1, {10, 1, 1, 0, 0, 0, 0, 0}}}},
      {FROM_END, timeOf(2009, 0, 1, 0, 0, 0), {{0, {8, 12, 31, 23, 59, 59, 0, 0}}}},
      {FROM_END, timeOf(2009, 14, 1, 0, 0, 0), {{0, {9, 13, 31, 23, 59, 59, 0, 0}}}}}},
    {"CountPastTheCapacityStampsOnlyTheStore",
     SAMPLE_STORE_CAPACITY + 1000,
     100,
     {{FROM_END,
       timeOf(2009, 6, 1, 12, 0, 0),
       {{SAMPLE_STORE_CAPACITY - 1, {9, 6, 1, 12, 0, 0, 0, 0}}}},
      {FROM_START, timeOf(2009, 6, 1, 12, 0, 0), {{0, {9, 6, 1, 12, 0, 0, 0, 0}}}}}},
};

class TimeBaseStamping : public TimeBase, public ::testing::WithParamInterface<StampingCase> {};

TEST_P(TimeBaseStamping, LeavesTheWorkedRecords) {
    const StampingCase& c = GetParam();
    if (c.count < SAMPLE_STORE_CAPACITY) {
        sampleStore[c.count] = PAST_THE_COUNT;
    }
    useStore(c.count, c.interval);
    for (const Stamping& stamping : c.stampings) {
        if (stamping.direction == FROM_START) {
            stampFromStart(stamping.anchor);
        } else {
            stampFromEnd(stamping.anchor);
        }
        for (const auto& [index, stamp] : stamping.records) {
            EXPECT_EQ(at(index), stamp) << "record " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Worked, TimeBaseStamping, ::testing::ValuesIn(STAMPINGS),
                         [](const auto& info) { return std::string(info.param.name); });

// An independent reference: the calendar of the standard library, in
// hundredths of a second, for years 2000-2099 where the year-byte leap rule holds.
using Centis = std::chrono::duration<int64_t, std::centi>;
using TimePoint = std::chrono::time_point<std::chrono::system_clock, Centis>;

TimePoint pointOf(const SystemTime& t) {
    using namespace std::chrono;
    sys_days date = year{t.year} / month{t.month} / day{t.day};
    return TimePoint{date} + hours{t.hour} + minutes{t.minute} + seconds{t.second};
}

Stamp stampAt(TimePoint point) {
    using namespace std::chrono;
    sys_days date = floor<days>(point);
    year_month_day ymd{date};
    hh_mm_ss<Centis> clock{point - date};
    int64_t centis = clock.subseconds().count();
    return {static_cast<int>(ymd.year()) - 2000,
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<int>(centis / 10),
            static_cast<int>(centis % 10)};
}

int64_t stepCentis(uint16_t interval) {
    if (interval <= 9) {
        return interval;
    }
    return interval <= 99 ? interval / 10 * 10 : 100;
}

const uint16_t INTERVALS[] = {1, 2, 7, 9, 10, 15, 37, 50, 99, 100, 250};
const SystemTime ANCHORS[] = {
    timeOf(2009, 12, 31, 23, 59, 58), // year end
    timeOf(2008, 2, 28, 23, 59, 59),  // leap day
    timeOf(2009, 2, 28, 23, 59, 59),  // no leap day
    timeOf(2000, 1, 1, 0, 0, 0),
};
// One more than a multiple of 100 steps ends every class on a whole second,
// which a stamping anchor can express.
const uint32_t COUNTS[] = {1, 101, 501, 20001};

TEST_F(TimeBase, ForwardStampsMatchTheCalendar) {
    for (uint16_t interval : INTERVALS) {
        for (const SystemTime& anchor : ANCHORS) {
            useStore(20001, interval);
            stampFromStart(anchor);
            TimePoint start = pointOf(anchor);
            for (uint32_t k = 0; k < 20001; ++k) {
                ASSERT_EQ(at(k), stampAt(start + Centis{stepCentis(interval) * k}))
                    << "interval " << interval << " record " << k;
            }
        }
    }
}

TEST_F(TimeBase, BackwardStampsMatchTheCalendar) {
    const SystemTime ends[] = {timeOf(2010, 1, 1, 0, 0, 1), timeOf(2008, 3, 1, 0, 0, 0),
                               timeOf(2009, 3, 1, 0, 0, 0), timeOf(2000, 3, 1, 0, 0, 0)};
    for (uint16_t interval : INTERVALS) {
        for (const SystemTime& end : ends) {
            useStore(20001, interval);
            stampFromEnd(end);
            TimePoint last = pointOf(end);
            for (uint32_t k = 0; k < 20001; ++k) {
                ASSERT_EQ(at(k), stampAt(last - Centis{stepCentis(interval) * (20000 - k)}))
                    << "interval " << interval << " record " << k;
            }
        }
    }
}

TEST_F(TimeBase, BackwardFromTheLastForwardStampReproducesTheStamps) {
    for (uint16_t interval : INTERVALS) {
        for (const SystemTime& anchor : ANCHORS) {
            for (uint32_t count : COUNTS) {
                useStore(count, interval);
                stampFromStart(anchor);
                std::vector<SampleRecord> forward(sampleStore, sampleStore + count);
                Stamp last = at(count - 1);
                ASSERT_EQ(last.tenths, 0);
                ASSERT_EQ(last.hundredths, 0);
                stampFromEnd(timeOf(2000 + last.year, last.month, last.day, last.hour, last.minute,
                                    last.second));
                ASSERT_EQ(std::memcmp(forward.data(), sampleStore, count * sizeof(SampleRecord)), 0)
                    << "interval " << interval << " count " << count;
            }
        }
    }
}

TEST_F(TimeBase, WholeStoreRoundTripsOverMonths) {
    for (uint16_t interval : {uint16_t{1}, uint16_t{99}, uint16_t{100}}) {
        uint32_t count = 1000001; // 100 steps a whole number of seconds in every class
        useStore(count, interval);
        stampFromStart(timeOf(2008, 2, 28, 23, 0, 0));
        std::vector<SampleRecord> forward(sampleStore, sampleStore + count);
        Stamp last = at(count - 1);
        stampFromEnd(
            timeOf(2000 + last.year, last.month, last.day, last.hour, last.minute, last.second));
        ASSERT_EQ(std::memcmp(forward.data(), sampleStore, count * sizeof(SampleRecord)), 0)
            << "interval " << interval;
    }
}

} // namespace
