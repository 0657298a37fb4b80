// The real link and protocol engine against the simulated T596 on a
// pseudo-terminal: the handshake, whole transfers and the ways one ends early.
#include <gtest/gtest.h>

#include "acquire/transfer_sequence.h"
#include "data/sample_store.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "platform/serial_link.h"
#include "tests/support/link_fixture.h"
#include "tools/t596sim/sim_pattern.h"

namespace {

constexpr uint32_t TRANSFER_TIMEOUT_MS = 120000;
constexpr uint32_t SETTLE_MS = 300;

class LinkTransfer : public LinkTest {
  protected:
    void open(std::initializer_list<const char*> arguments) {
        startDevice(arguments);
        ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    }
};

// Every staged value must be the pattern value of a later sample than the one
// before it: damaged frames may vanish, but nothing may be invented or reordered.
// Returns the number of samples the staged values span.
uint32_t spanOfPatternSubsequence(uint32_t staged, uint32_t sent) {
    uint32_t k = 0;
    for (uint32_t i = 0; i < staged; ++i) {
        while (k < sent && countPatternValue(k) != stagedValues[i])
            ++k;
        if (k == sent)
            return sent + 1;
        ++k;
    }
    return k;
}

TEST_F(LinkTransfer, PingReportsTheIntervalAndTheEchoCompletesTheCount) {
    open({"--interval", "5"});
    deviceInterval.store(0);
    ASSERT_TRUE(pingDevice());
    // The interval frame follows the reply frame on the line.
    uint64_t deadline = monotonicMs() + LINK_REPLY_TIMEOUT_MS;
    while (deviceInterval.load() == 0 && monotonicMs() < deadline)
        sleepMs(1);
    EXPECT_EQ(deviceInterval.load(), 5);

    expectedCount.store(0);
    ASSERT_TRUE(askCount(360000));
    EXPECT_EQ(expectedCount.load(), 360000u);
    // The largest count the program asks for.
    ASSERT_TRUE(askCount(SAMPLE_STORE_CAPACITY));
    EXPECT_EQ(expectedCount.load(), SAMPLE_STORE_CAPACITY);
}

TEST_F(LinkTransfer, HundredThousandSamplesArriveByteExact) {
    constexpr uint32_t COUNT = 100000;
    open({"--pace", "none", "--pattern", "count"});
    ASSERT_TRUE(beginTransfer(COUNT));
    ASSERT_TRUE(waitReceived(COUNT, TRANSFER_TIMEOUT_MS))
        << "received " << receivedCount.load() << " of " << COUNT;
    EXPECT_EQ(waitReceivedSettled(SETTLE_MS, TRANSFER_TIMEOUT_MS), COUNT)
        << "the device sent more than it echoed";
    uint32_t wrong = 0;
    uint32_t firstWrong = COUNT;
    for (uint32_t k = 0; k < COUNT; ++k) {
        if (stagedValues[k] != countPatternValue(k)) {
            ++wrong;
            firstWrong = std::min(firstWrong, k);
        }
    }
    EXPECT_EQ(wrong, 0u) << "first wrong sample " << firstWrong;
}

TEST_F(LinkTransfer, FillerBetweenFramesIsSkipped) {
    constexpr uint32_t COUNT = 5000;
    open({"--pace", "none", "--pattern", "count", "--filler"});
    ASSERT_TRUE(beginTransfer(COUNT));
    ASSERT_TRUE(waitReceived(COUNT, TRANSFER_TIMEOUT_MS));
    for (uint32_t k = 0; k < COUNT; ++k)
        ASSERT_EQ(stagedValues[k], countPatternValue(k)) << "sample " << k;
}

TEST_F(LinkTransfer, LineNoiseDropsOnlyTheDamagedFrames) {
    constexpr uint32_t COUNT = 20000;
    open({"--pace", "none", "--pattern", "count", "--noise", "0.02"});
    // The handshake itself may be hit; a lost reply is simply asked again.
    bool begun = false;
    for (int attempt = 0; attempt < 5 && !begun; ++attempt)
        begun = beginTransfer(COUNT);
    ASSERT_TRUE(begun);
    uint32_t got = waitReceivedSettled(SETTLE_MS, TRANSFER_TIMEOUT_MS);
    EXPECT_LT(got, COUNT);
    EXPECT_GT(got, COUNT * 9 / 10);
    EXPECT_LE(spanOfPatternSubsequence(got, COUNT), COUNT)
        << "a staged value is not a pattern value in order";
}

TEST_F(LinkTransfer, EchoedCountIsTheCountTheTransferGets) {
    open({"--pace", "none", "--pattern", "count", "--echo-count", "1234"});
    ASSERT_TRUE(pingDevice());
    ASSERT_TRUE(askCount(6000));
    EXPECT_EQ(expectedCount.load(), 1234u);
    startReception();
    EXPECT_EQ(waitReceivedSettled(SETTLE_MS, TRANSFER_TIMEOUT_MS), 1234u);
}

TEST_F(LinkTransfer, DeviceStopEndsTheTransferWithWhatArrived) {
    open({"--pace", "none", "--pattern", "count", "--stop-after", "500"});
    ASSERT_TRUE(beginTransfer(6000));
    EXPECT_EQ(waitReceivedSettled(SETTLE_MS, TRANSFER_TIMEOUT_MS), 500u);
    EXPECT_EQ(expectedCount.load(), 500u);
}

TEST_F(LinkTransfer, StopFromThePcHaltsTheDevice) {
    constexpr uint32_t COUNT = 14400; // ten seconds at the line rate
    open({"--pattern", "count"});
    ASSERT_TRUE(beginTransfer(COUNT));
    ASSERT_TRUE(waitReceived(100, LINK_REPLY_TIMEOUT_MS));
    sendStop();
    // The device's own DEV_STOP sets expectedCount to what has arrived.
    uint32_t got = waitReceivedSettled(SETTLE_MS, TRANSFER_TIMEOUT_MS);
    EXPECT_LT(got, COUNT);
    EXPECT_EQ(expectedCount.load(), got);
}

TEST_F(LinkTransfer, SilentDeviceNeverReplies) {
    open({"--silent"});
    EXPECT_FALSE(pingDevice(300));
}

TEST_F(LinkTransfer, DeviceWithoutEchoLeavesTheCountUnconfirmed) {
    open({"--no-echo"});
    ASSERT_TRUE(pingDevice());
    EXPECT_FALSE(askCount(6000, 300));
}

TEST_F(LinkTransfer, SimulatorKeepsServingAfterThePortIsReopened) {
    open({"--pace", "none", "--pattern", "count"});
    ASSERT_TRUE(pingDevice());
    for (int round = 0; round < 3; ++round) {
        closeLink();
        sleepMs(50);          // long enough for the simulator to see the hang-up
        clearLinkLeftovers(); // the reader thread owns the receive line while open
        ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
        ASSERT_TRUE(beginTransfer(1000)) << "round " << round;
        ASSERT_TRUE(waitReceived(1000, TRANSFER_TIMEOUT_MS)) << "round " << round;
    }
}

} // namespace
