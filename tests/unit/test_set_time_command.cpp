// Data acquisition > Set time through the scripted front end: the entries the
// dialog takes, the stamps that follow, and what opening and cancelling leave.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/set_time_command.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/scripted_frontend.h"

namespace {

using Entries = std::vector<std::string>; // day, month, year, hour, minute, second

class SetTime : public ::testing::Test {
  protected:
    void SetUp() override {
        scriptedReset();
        dataHeader = {100, 7, 3600, {}};
        sampleStore[0] = {9, 12, 25, 14, 30, 5, 3, 4, 87};
        dataPresent = true;
    }
    void TearDown() override { dataPresent = false; }

    static std::string stamp(const SampleRecord& r) {
        char text[40];
        std::snprintf(text, sizeof text, "%02d/%02d/%d %02d:%02d:%02d.%d%d", r.day, r.month,
                      2000 + r.year, r.hour, r.minute, r.second, r.tenths, r.hundredths);
        return text;
    }
    static std::vector<int> positions(const SetTimeDialogContent& dialog) {
        return std::vector<int>(dialog.position, dialog.position + SET_TIME_FIELDS);
    }
};

TEST_F(SetTime, EntriesAreJudgedWholeAgainstTheCalendar) {
    const struct {
        Entries entries;
        bool valid;
    } cases[] = {
        {{"29", "2", "2008", "0", "0", "0"}, true},
        {{"29", "2", "2009", "12", "0", "0"}, false},
        {{"31", "4", "2009", "12", "0", "0"}, false},
        {{"1", "1", "2004", "12", "0", "0"}, false},
        {{"31", "12", "2100", "12", "0", "0"}, false},
        {{"31", "12", "2099", "23", "59", "59"}, true},
        {{"1", "1", "2009", "", "0", "0"}, false},
        {{"1", "1", "2009", " 7 ", "0", "0"}, true},
        {{"1", "257", "2009", "7", "0", "0"}, false}, // not read as the byte 1
        {{"1", "1", "2009", "7", "5x", "60"}, false},
        {{"1", "1", "2009", "7", "4294967296", "0"}, false},
    };
    for (const auto& c : cases) {
        const char* entries[SET_TIME_FIELDS];
        for (int i = 0; i < SET_TIME_FIELDS; ++i)
            entries[i] = c.entries[size_t(i)].c_str();
        scripted.messageBoxes.clear();
        int result = 0;
        SCOPED_TRACE(c.entries[0] + "/" + c.entries[1] + "/" + c.entries[2] + " " + c.entries[3]);
        EXPECT_EQ(setTimeDialogCommand(SET_TIME_END, entries, &result), c.valid);
        EXPECT_EQ(result, c.valid ? SET_TIME_END : 0);
        if (c.valid)
            continue;
        ASSERT_EQ(scripted.messageBoxes.size(), 1u);
        EXPECT_EQ(scripted.messageBoxes[0].text + " / " + scripted.messageBoxes[0].caption,
                  "Invalid time settings! / Set Time");
        EXPECT_EQ(scripted.messageBoxes[0].icon, MB_ICONINFORMATION);
        EXPECT_TRUE(scripted.messageBoxes[0].overDialog);
    }
}

TEST_F(SetTime, EndTimeStampsBackwardAndStartTimeForward) {
    scripted.setTimeClicks = {{SET_TIME_END, {"29", "2", "2009", "10", "0", "0"}}, // stays open
                              {SET_TIME_END, {"1", "3", "2009", "10", "0", "0"}}};
    EXPECT_TRUE(mainWindowCommand(IDM_SET_TIME, 0));
    EXPECT_EQ(stamp(sampleStore[3599]), "01/03/2009 10:00:00.00");
    EXPECT_EQ(stamp(sampleStore[0]), "01/03/2009 09:00:01.00");
    EXPECT_EQ(sampleStore[0].value, 87);
    EXPECT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scriptedCount("invalidate|1"), 1);

    scripted.setTimeClicks = {{SET_TIME_START, {"31", "12", "2009", "23", "59", "59"}}};
    mainWindowCommand(IDM_SET_TIME, 0);
    EXPECT_EQ(stamp(sampleStore[0]), "31/12/2009 23:59:59.00");
    EXPECT_EQ(stamp(sampleStore[1]), "01/01/2010 00:00:00.00");
}

TEST_F(SetTime, EveryOpeningStartsFromRecordZeroAndCancelChangesNothing) {
    scripted.setTimeClicks = {{SET_TIME_START, {"1", "1", "2009", "24", "0", "0"}}};
    mainWindowCommand(IDM_SET_TIME, 0); // refused, then cancelled
    mainWindowCommand(IDM_SET_TIME, 0);
    ASSERT_EQ(scripted.setTimeDialogs.size(), 2u);
    for (const SetTimeDialogContent& dialog : scripted.setTimeDialogs) {
        EXPECT_EQ(std::string(dialog.title) + "|" + dialog.startLabel, "Set Time|Start time");
        EXPECT_EQ(positions(dialog), (std::vector<int>{25, 12, 2009, 14, 30, 5}));
        EXPECT_EQ(dialog.lowest[2] * 10000 + dialog.highest[2], 20052099);
    }
    EXPECT_EQ(stamp(sampleStore[0]), "25/12/2009 14:30:05.34");
    EXPECT_EQ(scripted.invalidations, 0);

    // A stamp outside the spinners' ranges opens them at their nearest end.
    sampleStore[0] = {};
    mainWindowCommand(IDM_SET_TIME, 0);
    EXPECT_EQ(positions(scripted.setTimeDialogs[2]), (std::vector<int>{1, 1, 2005, 0, 0, 0}));
}

} // namespace
