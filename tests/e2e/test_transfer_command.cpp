// Transfer from the menu command to the charts, against the simulated T596:
// the acquisition dialog, the count handshake, the reception under the
// progress dialog, the stamps and the view; and every way a transfer ends
// early, none of which may touch the data already on display.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <unistd.h>

#include "acquire/transfer_sequence.h"
#include "app/main_window.h"
#include "app/transfer_command.h"
#include "base/config_file.h"
#include "data/amount_table.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "link/command_queue.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "res/resource_ids.h"
#include "tests/e2e/program_on_sims.h"
#include "tests/support/link_session.h"
#include "tests/support/scripted_frontend.h"
#include "tools/t596sim/sim_pattern.h"
#include "view/chart_view.h"

namespace {

constexpr uint32_t TRANSFER_TIMEOUT_MS = 60000;
const char* const MSG_40 =
    "No communication to T596.\nTransmission of data not possible! / Vantorix Data Acquisition";
const char* const MSG_41 =
    "Timeout on reception of data,\ntransmission aborted! / Vantorix Data Acquisition";

// The spans offered and the samples they ask for, as the product defines
// them at the intervals its thresholds name; 0 is a span not offered.
struct IntervalRow {
    uint16_t interval;
    const char* shown;
    uint32_t counts[AMOUNT_COUNT];
};
// Keeps the test's name readable where GoogleTest would dump the row's bytes.
void PrintTo(const IntervalRow& row, std::ostream* out) {
    *out << "interval " << row.interval;
}
const IntervalRow INTERVALS[] = {
    {2, "0.02", {6000, 15000, 30000, 60000, 150000, 180000, 360000, 900000, 0, 0, 0, 0, 0, 0}},
    {5, "0.05", {0, 6000, 12000, 24000, 60000, 72000, 144000, 360000, 864000, 0, 0, 0, 0, 0}},
    {10, "0.10", {0, 0, 6000, 12000, 30000, 36000, 72000, 180000, 432000, 648000, 864000, 0, 0, 0}},
    {20, "0.20", {0, 0, 0, 6000, 15000, 18000, 36000, 90000, 216000, 324000, 432000, 0, 0, 0}},
    {50, "0.50", {0, 0, 0, 0, 6000, 7200, 14400, 36000, 86400, 129600, 172800, 864000, 0, 0}},
    {100, "1.00", {0, 0, 0, 0, 0, 0, 7200, 18000, 43200, 64800, 86400, 432000, 604800, 1036800}},
};

TEST(TransferSpans, EveryIntervalOffersTheSpansAndCountsOfTheTable) {
    for (const IntervalRow& row : INTERVALS) {
        for (int k = 0; k < AMOUNT_COUNT; ++k) {
            SCOPED_TRACE("interval " + std::to_string(row.interval) + ", span " +
                         std::to_string(k));
            EXPECT_EQ(amountOffered(k, row.interval), row.counts[k] != 0);
            if (row.counts[k] != 0) {
                EXPECT_EQ(amountSampleCount(k, row.interval), row.counts[k]);
            }
        }
    }
    // Off the named intervals: I = 1 caps "12 hours" at the store's capacity,
    // I = 7 rounds down.
    EXPECT_TRUE(amountOffered(8, 1));
    EXPECT_FALSE(amountOffered(0, 1));
    EXPECT_EQ(amountSampleCount(8, 1), 1048576u);
    EXPECT_EQ(amountSampleCount(2, 7), 8571u);
    EXPECT_FALSE(amountOffered(1, 7));
}

// Hundredths of a second since 1 January 2000 of a record's stamp.
int64_t stampHundredths(const SampleRecord& r) {
    int64_t days = 0;
    for (int year = 0; year < r.year; ++year)
        days += (year % 4 == 0) ? 366 : 365;
    for (int month = 1; month < r.month; ++month)
        days += daysIn(uint8_t(month), r.year);
    days += r.day - 1;
    int64_t seconds = ((days * 24 + r.hour) * 60 + r.minute) * 60 + r.second;
    return seconds * 100 + r.tenths * 10 + r.hundredths;
}

int64_t timeHundredths(const SystemTime& t) {
    SampleRecord r{uint8_t(t.year % 100),
                   uint8_t(t.month),
                   uint8_t(t.day),
                   uint8_t(t.hour),
                   uint8_t(t.minute),
                   uint8_t(t.second),
                   0,
                   0,
                   0};
    return stampHundredths(r);
}

class Transfer : public ProgramOnSims {
  protected:
    // Opens the acquisition dialog through the Transfer command and answers
    // it with span k (or Cancel with k = -1).
    void chooseSpan(int k) {
        if (k >= 0)
            scripted.acquisitionClicks = {1001 + k, 1};
        else
            scripted.acquisitionClicks = {2};
        scripted.postedCommands.push_back(IDM_TRANSFER);
        scriptedRunPostedCommands();
    }
    std::vector<uint16_t> queuedCodes() {
        std::vector<uint16_t> codes;
        for (uint32_t i = commandQueue.readIndex; i != commandQueue.writeIndex;
             i = (i + 1) % COMMAND_QUEUE_SIZE)
            codes.push_back(commandQueue.codes[i]);
        return codes;
    }
    bool waitReceived(uint32_t atLeast) {
        return runLoop([atLeast] { return receivedCount.load() >= atLeast; }, TRANSFER_TIMEOUT_MS);
    }
};

class TransferAtInterval : public Transfer, public ::testing::WithParamInterface<IntervalRow> {};

TEST_P(TransferAtInterval, CompletesWithTheCountTheStampsAndTheView) {
    const IntervalRow& row = GetParam();
    std::string interval = std::to_string(row.interval);
    startSimOn(1, {"--interval", interval.c_str(), "--pace", "none", "--pattern", "count"});
    createWindow();
    showPreviousData(20000);
    int k = 0;
    while (row.counts[k] == 0)
        ++k;
    uint32_t n = row.counts[k];

    chooseSpan(k);
    ASSERT_EQ(scripted.acquisitionDialogs.size(), 1u);
    const AcquisitionDialogContent& dialog = scripted.acquisitionDialogs[0];
    EXPECT_STREQ(dialog.title, "Data acquisition");
    EXPECT_STREQ(dialog.groupLabel, "Data amount");
    EXPECT_STREQ(dialog.intervalLabel, "Acquisition interval");
    EXPECT_STREQ(dialog.intervalText, row.shown);
    EXPECT_STREQ(dialog.cancelLabel, "Cancel");
    EXPECT_STREQ(dialog.okLabel, "Get");
    EXPECT_EQ(dialog.checkedSpan, 7);
    EXPECT_STREQ(dialog.spanLabels[0], "2 minutes");
    EXPECT_STREQ(dialog.spanLabels[13], "12 days");
    for (int span = 0; span < AMOUNT_COUNT; ++span)
        EXPECT_EQ(dialog.spanEnabled[span], row.counts[span] != 0) << "span " << span;
    EXPECT_EQ(queuedCodes(), (std::vector<uint16_t>{uint16_t(59000 + (n & 0xFF)),
                                                    uint16_t(59300 + ((n >> 8) & 0xFF)),
                                                    uint16_t(59600 + (n >> 16))}));
    EXPECT_TRUE(countConfirmPending);
    // Until the reception completes, the data on display stays as it was.
    EXPECT_TRUE(previousDataIntact());

    SystemTime before;
    getLocalTime(&before);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    SystemTime after;
    getLocalTime(&after);

    EXPECT_TRUE(messageTexts().empty());
    EXPECT_EQ(scriptedCount("progressCreate|Transferring data, please wait...|Abort"), 1);
    EXPECT_FALSE(scripted.progressOpen);
    EXPECT_EQ(progressDivisor, n / 100);
    ASSERT_EQ(dataHeader.count, n);
    EXPECT_EQ(dataHeader.interval, row.interval);
    EXPECT_EQ(dataHeader.amountIndex, k);
    EXPECT_EQ(dataHeader.reserved[3], 0x77) << "the reserved bytes are not the transfer's";
    uint32_t wrong = 0;
    for (uint32_t i = 0; i < n; ++i)
        wrong += sampleStore[i].value != countPatternValue(i);
    EXPECT_EQ(wrong, 0u);
    // The last record has the local time of completion, the first one is
    // n - 1 intervals before it.
    int64_t last = stampHundredths(sampleStore[n - 1]);
    EXPECT_EQ(sampleStore[n - 1].tenths + sampleStore[n - 1].hundredths, 0);
    EXPECT_GE(last, timeHundredths(before));
    EXPECT_LE(last, timeHundredths(after));
    EXPECT_EQ(last - stampHundredths(sampleStore[0]), int64_t(n - 1) * row.interval);
    // Both charts on the new data.
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(chartView.samplesPerPixel, int32_t(n / 600));
    EXPECT_EQ(chartView.mainStart, 0u);
    EXPECT_EQ(chartView.cursorX, 0u);
    EXPECT_EQ(scripted.spanSelection, k);
    EXPECT_FALSE(scripted.scrollVisible);
}

INSTANTIATE_TEST_SUITE_P(NamedIntervals, TransferAtInterval, ::testing::ValuesIn(INTERVALS),
                         [](const auto& info) {
                             // Appended, not "I" + ...: GCC 12 at -O3 warns falsely of
                             // overlap (-Wrestrict) inside that operator.
                             return std::string("I").append(std::to_string(info.param.interval));
                         });

TEST_F(Transfer, IntervalOneCapsTheCountAndIntervalSevenRoundsIt) {
    startSimOn(1, {"--interval", "1", "--pace", "none", "--pattern", "count"});
    createWindow();
    chooseSpan(8); // "12 hours": 4,320,000 samples, more than the store holds
    ASSERT_EQ(scripted.acquisitionDialogs.size(), 1u);
    EXPECT_STREQ(scripted.acquisitionDialogs[0].intervalText, "0.01");
    EXPECT_TRUE(scripted.acquisitionDialogs[0].spanEnabled[8]);
    EXPECT_FALSE(scripted.acquisitionDialogs[0].spanEnabled[0]);
    EXPECT_EQ(queuedCodes(), (std::vector<uint16_t>{59000, 59300, 59616}));
    transferAbortCommand();
    stopSim(&sims[0]);
    mainWindowDestroy();
    // Only once the link is closed: the receive line is the reader thread's.
    clearLinkLeftovers();

    startSimOn(1, {"--interval", "7", "--pace", "none", "--pattern", "count"});
    createWindow();
    chooseSpan(2); // "10 minutes"
    ASSERT_EQ(scripted.acquisitionDialogs.size(), 2u);
    EXPECT_STREQ(scripted.acquisitionDialogs[1].intervalText, "0.07");
    EXPECT_FALSE(scripted.acquisitionDialogs[1].spanEnabled[1]);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(dataHeader.count, 8571u);
    EXPECT_EQ(dataHeader.interval, 7);
    // 7 hundredths a step.
    EXPECT_EQ(stampHundredths(sampleStore[8570]) - stampHundredths(sampleStore[0]), 8570 * 7);
}

TEST_F(Transfer, NoDeviceReportsMessage40AfterTwoPingsEachTime) {
    startSimOn(1, {"--silent"});
    createWindow();
    showPreviousData(100);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt + 1));
        uint64_t start = monotonicMs();
        chooseSpan(7);
        // Two pings of 2000 ms each, the second after the silent retry.
        EXPECT_GE(monotonicMs() - start, 3900u);
        EXPECT_EQ(messageTexts().size(), size_t(attempt + 1));
        EXPECT_EQ(messageTexts().back(), MSG_40);
        EXPECT_TRUE(scripted.acquisitionDialogs.empty());
        EXPECT_TRUE(retryArmed);
    }
    EXPECT_TRUE(previousDataIntact());
}

TEST_F(Transfer, CancelAndAMissingEchoChangeNothing) {
    startSimOn(1, {"--interval", "50", "--pace", "none", "--no-echo"});
    createWindow();
    showPreviousData(100);
    chooseSpan(-1);
    EXPECT_TRUE(commandQueueEmpty());
    EXPECT_FALSE(countConfirmPending);

    chooseSpan(4);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{MSG_41});
    EXPECT_EQ(scripted.messageBoxes[0].icon, MB_ICONINFORMATION);
    EXPECT_EQ(scriptedCallsStartingWith("progressCreate").size(), 0u);
    // No DEV_START went out: nothing arrives.
    runLoop([] { return false; }, 300);
    EXPECT_EQ(receivedCount.load(), 0u);
    EXPECT_TRUE(previousDataIntact());
}

TEST_F(Transfer, TheEchoedCountIsTheOneWaitedFor) {
    startSimOn(1,
               {"--interval", "50", "--pace", "none", "--pattern", "count", "--echo-count", "150"});
    createWindow();
    chooseSpan(4); // asks for 6,000
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(dataHeader.count, 150u);
    EXPECT_EQ(progressDivisor, 1u);
    EXPECT_EQ(sampleStore[149].value, countPatternValue(149));
    EXPECT_EQ(dataHeader.amountIndex, 4);
}

TEST_F(Transfer, AnEchoedCountOf0EndsAtTheFirstTickWithNoRecords) {
    startSimOn(1, {"--interval", "50", "--pace", "none", "--echo-count", "0"});
    createWindow();
    showPreviousData(100);
    chooseSpan(4);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_TRUE(messageTexts().empty());
    EXPECT_EQ(dataHeader.count, 0u);
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(chartView.samplesPerPixel, 0);
    // The old records lie beyond count, untouched.
    EXPECT_EQ(sampleStore[0].year, 7);
}

TEST_F(Transfer, ADeviceStopEndsTheTransferWithWhatArrived) {
    startSimOn(
        1, {"--interval", "20", "--pace", "none", "--pattern", "count", "--stop-after", "2500"});
    createWindow();
    chooseSpan(3); // asks for 6,000
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    ASSERT_EQ(dataHeader.count, 2500u);
    EXPECT_EQ(sampleStore[2499].value, countPatternValue(2499));
    EXPECT_EQ(stampHundredths(sampleStore[2499]) - stampHundredths(sampleStore[0]), 2499 * 20);
    EXPECT_EQ(chartView.samplesPerPixel, 4);
}

TEST_F(Transfer, ADeviceStopBeforeTheFirstValueLeavesNoRecords) {
    startSimOn(1, {"--interval", "20", "--pace", "none", "--stop-after", "0"});
    createWindow();
    showPreviousData(100);
    chooseSpan(3);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(dataHeader.count, 0u);
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(sampleStore[0].year, 7);
}

TEST_F(Transfer, AbortLeavesTheDataOnDisplayUntouched) {
    startSimOn(1, {"--interval", "50", "--pace", "line", "--pattern", "count"});
    createWindow();
    showPreviousData(14400);
    ChartView view = chartView;
    chooseSpan(6); // 14,400 samples, 10 s at the line rate
    ASSERT_TRUE(waitReceived(1000));
    EXPECT_TRUE(scripted.progressOpen);
    EXPECT_GT(scripted.progressPosition, 0);
    progressAbortClicked();
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_FALSE(scripted.progressOpen);
    EXPECT_TRUE(previousDataIntact());
    EXPECT_EQ(std::memcmp(&chartView, &view, sizeof view), 0);
    EXPECT_TRUE(messageTexts().empty());
    // The device stopped: nothing more arrives.
    uint32_t settled = receivedCount.load();
    runLoop([] { return false; }, 400);
    EXPECT_LT(receivedCount.load(), settled + 300);
    EXPECT_LT(receivedCount.load(), 14400u);
    EXPECT_TRUE(previousDataIntact());
}

// A pulled-out adapter: the simulator closes its end of the line. COM1 is a
// name of the test's own, so that the device can come back under it.
TEST_F(Transfer, AVanishedDeviceEndsTheTransferAndWorksAgainOnceItIsBack) {
    ASSERT_TRUE(startSim(&sims[0], {"--interval", "50", "--pace", "line", "--pattern", "count",
                                    "--vanish-after", "3000"}));
    std::string com1 = workDir + "/com1";
    ASSERT_EQ(symlink(sims[0].linkPath, com1.c_str()), 0);
    setenv("KORVEX_COM1", com1.c_str(), 1);
    createWindow();
    showPreviousData(14400);
    chooseSpan(6);
    // Ended as Abort ends it, without the user.
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_TRUE(waitSimExit(&sims[0], 5000));
    EXPECT_EQ(messageTexts(), std::vector<std::string>{MSG_40});
    EXPECT_FALSE(scripted.progressOpen);
    EXPECT_TRUE(scripted.greyed.empty());
    EXPECT_TRUE(previousDataIntact());

    ASSERT_TRUE(startSim(&sims[1], {"--interval", "50", "--pace", "none", "--pattern", "count"}));
    ASSERT_EQ(unlink(com1.c_str()), 0);
    ASSERT_EQ(symlink(sims[1].linkPath, com1.c_str()), 0);
    chooseSpan(4);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(messageTexts().size(), 1u);
    ASSERT_EQ(dataHeader.count, 6000u);
    EXPECT_EQ(sampleStore[5999].value, countPatternValue(5999));
    EXPECT_EQ(configBlock.comPort, 1);
}

// Two downloads must never mix: from the command to the end, Transfer, Open,
// the ports and Auto connect are greyed out, also on a bar rebuilt for
// another language, and ignored when they come anyway.
TEST_F(Transfer, WhileATransferRunsTheCommandsThatWouldMixAreRefused) {
    startSimOn(1, {"--interval", "50", "--pace", "line", "--pattern", "count"});
    startSimOn(2, {"--interval", "20", "--pace", "none", "--pattern", "count"});
    createWindow();
    const std::set<int> refused = {
        IDM_TRANSFER, IDM_OPEN, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, IDM_AUTO_CONNECT};
    chooseSpan(5); // 7,200: 5 s at the line rate
    EXPECT_EQ(scripted.greyed, refused);
    ASSERT_TRUE(waitReceived(500));
    mainWindowCommand(IDM_LANG_GERMAN, 0);
    EXPECT_EQ(scripted.greyed, refused);
    chooseSpan(4);
    mainWindowCommand(IDM_COM_BASE + 2, 0);
    scripted.fileAnswers.push_back({true, workDir + "/x.kvd", 0});
    mainWindowCommand(IDM_OPEN, 0);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_TRUE(messageTexts().empty());
    EXPECT_EQ(scripted.acquisitionDialogs.size(), 1u);
    EXPECT_TRUE(scripted.fileDialogs.empty());
    EXPECT_EQ(configBlock.comPort, 1);
    ASSERT_EQ(dataHeader.count, 7200u);
    EXPECT_EQ(dataHeader.amountIndex, 5);
    EXPECT_EQ(sampleStore[7199].value, countPatternValue(7199));
    EXPECT_TRUE(scripted.greyed.empty());
}

TEST_F(Transfer, ADeviceThatNeverReportsItsIntervalEndsWithMessage40) {
    startSimOn(1, {"--interval", "0", "--pace", "none"});
    createWindow();
    uint64_t start = monotonicMs();
    chooseSpan(7);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    uint64_t took = monotonicMs() - start;
    EXPECT_EQ(messageTexts(), std::vector<std::string>{MSG_40});
    EXPECT_GE(took, 3900u); // as long as two unanswered pings
    EXPECT_TRUE(scripted.acquisitionDialogs.empty());
    // Pinged at the pump's pace, not flat out.
    EXPECT_LE(scriptedCount("postCommand|2016"), int(took / PUMP_PERIOD_MS) + 2);
}

// A noisy device sends values nobody asked for; only the confirmed count is
// data.
TEST_F(Transfer, ValuesBeyondTheConfirmedCountAreNotKept) {
    startSimOn(1,
               {"--interval", "50", "--pace", "none", "--pattern", "count", "--surplus", "20000"});
    createWindow();
    chooseSpan(4); // 6,000
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    EXPECT_EQ(dataHeader.count, 6000u);
}

// The device sends the oldest value first: a store filled before the echoed
// count is reached holds the oldest part, stamped as such.
TEST_F(Transfer, AnEchoAboveTheCapacityFillsTheStoreWithTheOldestPart) {
    startSimOn(1, {"--interval", "10", "--pace", "none", "--pattern", "count", "--echo-count",
                   "1049576"}); // 1,000 more than the store holds
    createWindow();
    SystemTime before;
    getLocalTime(&before);
    chooseSpan(8);
    ASSERT_TRUE(runUntilIdle(TRANSFER_TIMEOUT_MS));
    SystemTime after;
    getLocalTime(&after);
    EXPECT_EQ(scripted.progressPosition, 100);
    ASSERT_EQ(dataHeader.count, SAMPLE_STORE_CAPACITY);
    EXPECT_EQ(sampleStore[SAMPLE_STORE_CAPACITY - 1].value,
              countPatternValue(SAMPLE_STORE_CAPACITY - 1));
    // The 1,000 newest, 0.1 s apart, were not kept: the last kept one is 100 s old.
    int64_t last = stampHundredths(sampleStore[SAMPLE_STORE_CAPACITY - 1]);
    EXPECT_GE(last, timeHundredths(before) - 10000);
    EXPECT_LE(last, timeHundredths(after) - 10000);
}

} // namespace
