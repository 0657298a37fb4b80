#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "data/sample_store.h"
#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "link/tx_ring.h"
#include "platform/event.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Codes = std::vector<uint16_t>;

Bytes frameOf(uint16_t code) {
    uint8_t frame[FRAME16_SIZE];
    encodeFrame(code, frame);
    return Bytes(frame, frame + FRAME16_SIZE);
}

void receive(const Bytes& bytes) {
    receiveBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void receiveCode(uint16_t code) {
    receive(frameOf(code));
}

Bytes takeSent() {
    uint8_t buffer[TX_RING_SIZE];
    uint32_t count = txRingTake(buffer);
    return Bytes(buffer, buffer + count);
}

// Reads back what went on the wire without the codec: a frame that is not six
// well-formed bytes fails the test.
Codes codesIn(const Bytes& bytes) {
    Codes codes;
    EXPECT_EQ(bytes.size() % FRAME16_SIZE, 0u);
    for (size_t at = 0; at + FRAME16_SIZE <= bytes.size(); at += FRAME16_SIZE) {
        const uint8_t* f = &bytes[at];
        EXPECT_EQ(f[4], static_cast<uint8_t>(f[0] + f[1] + f[2] + f[3]));
        EXPECT_EQ(f[5], 0x0D);
        codes.push_back(static_cast<uint16_t>((f[0] >> 4) << 12 | (f[1] >> 4) << 8 |
                                              (f[2] >> 4) << 4 | f[3] >> 4));
    }
    return codes;
}

Codes pumpAndTake() {
    pumpTick();
    return codesIn(takeSent());
}

int confirmCalls;
void countConfirmed() {
    ++confirmCalls;
}

class ProtocolEngine : public ::testing::Test {
  protected:
    // Module state lives for the whole run: each case starts from quiet and
    // leaves it quiet, so no queued code or register reaches the next test.
    static void quiet() {
        assembleByte(FRAME_END);
        takeSent();
        commandQueue.readIndex = commandQueue.writeIndex;
        countConfirmPending = false;
        setCountConfirmHandler(nullptr);
        confirmCalls = 0;
        std::memset(countRegister, 0, sizeof countRegister);
        expectedCount = 0;
        deviceInterval = 0;
        receivedCount = 0;
        dataHeader.interval = 0;
    }
    void SetUp() override {
        quiet();
        ASSERT_EQ(eventCreate(true, &ping), 0);
        ASSERT_EQ(eventCreate(true, &count), 0);
        pingReplyEvent = ping;
        countReplyEvent = count;
    }
    void TearDown() override {
        pingReplyEvent = nullptr;
        countReplyEvent = nullptr;
        eventClose(ping);
        eventClose(count);
        quiet();
    }
    static bool isSet(EventHandle event) { return eventWait(event, 0); }

    EventHandle ping = nullptr;
    EventHandle count = nullptr;
};

TEST_F(ProtocolEngine, CountEchoFramesCompleteTheExpectedCount) {
    receive({0xE1, 0x61, 0x71, 0x81, 0x34, 0x0D});
    receive({0xE1, 0x71, 0xA1, 0x41, 0x34, 0x0D});
    EXPECT_FALSE(isSet(count));
    receive({0xE1, 0x81, 0xE1, 0x01, 0x44, 0x0D});
    EXPECT_EQ(expectedCount.load(), 1048576u);
    EXPECT_TRUE(isSet(count));
    EXPECT_FALSE(isSet(ping));

    eventReset(count);
    for (uint16_t code : Codes{59112, 59323, 59600}) {
        receiveCode(code);
    }
    EXPECT_EQ(expectedCount.load(), 6000u);
    EXPECT_TRUE(isSet(count));
}

TEST_F(ProtocolEngine, HighCountCodeAloneKeepsTheLowerBytes) {
    for (uint16_t code : Codes{59112, 59323, 59600}) {
        receiveCode(code);
    }
    receiveCode(DEV_COUNT_HI + 2);
    EXPECT_EQ(expectedCount.load(), (2u << 16) | 6000u);
}

TEST_F(ProtocolEngine, CountRangesAreSplitAtTheirBoundsAndWrapIntoTheirByte) {
    receiveCode(DEV_COUNT_LO_LAST); // 299 wraps to 43
    receiveCode(DEV_COUNT_MID);     // the next code is already the middle byte
    receiveCode(DEV_COUNT_HI_LAST); // 99
    EXPECT_EQ(expectedCount.load(), (99u << 16) | 43u);

    receiveCode(DEV_COUNT_MID_LAST); // 299 wraps to 43
    receiveCode(DEV_COUNT_HI);
    EXPECT_EQ(expectedCount.load(), (43u << 8) | 43u);

    receiveCode(DEV_COUNT_LO); // the first code of the range is a low byte of 0
    receiveCode(DEV_COUNT_HI);
    EXPECT_EQ(expectedCount.load(), 43u << 8);
}

TEST_F(ProtocolEngine, IntervalCodesSetTheDeviceIntervalOnly) {
    dataHeader.interval = 20; // the data on display keeps its own interval
    receiveCode(DEV_INTERVAL);
    EXPECT_EQ(deviceInterval.load(), 0);
    receiveCode(DEV_INTERVAL_LAST);
    EXPECT_EQ(deviceInterval.load(), 100);
    receiveCode(DEV_INTERVAL_LAST + 1);
    EXPECT_EQ(deviceInterval.load(), 100);
    EXPECT_EQ(dataHeader.interval, 20);
    EXPECT_EQ(expectedCount.load(), 0u);
}

TEST_F(ProtocolEngine, CodesOutsideTheTableChangeNothing) {
    receiveCode(59123);
    receiveCode(59345);
    receivedCount = 7;
    for (uint16_t code : Codes{256, 58999, 59801, 65059, DEV_PING, DEV_START, 65064, 65535}) {
        receiveCode(code);
    }
    EXPECT_EQ(countRegister[0], 123);
    EXPECT_EQ(countRegister[1], 45);
    EXPECT_EQ(expectedCount.load(), 0u);
    EXPECT_EQ(deviceInterval.load(), 0);
    EXPECT_EQ(receivedCount.load(), 7u);
    EXPECT_FALSE(isSet(ping));
    EXPECT_FALSE(isSet(count));
}

TEST_F(ProtocolEngine, SampleValuesAreStagedEvenWithoutATransfer) {
    sampleStore[0].value = 9;
    sampleStore[1].value = 9;
    receive({0x61, 0x41, 0xA2, 0x0D});             // 100 as an 8-bit frame
    receive({0x01, 0x01, 0xF1, 0xF1, 0xE4, 0x0D}); // 255 as a 16-bit frame
    EXPECT_EQ(receivedCount.load(), 2u);
    EXPECT_EQ(stagedValues[0], 100);
    EXPECT_EQ(stagedValues[1], 255);
    EXPECT_EQ(sampleStore[0].value, 9);
    EXPECT_EQ(sampleStore[1].value, 9);
}

TEST_F(ProtocolEngine, DeviceStopOnlyEndsTheExpectedCount) {
    sampleStore[5] = SampleRecord{9, 12, 31, 23, 59, 59, 0, 0, 42};
    expectedCount = 1000;
    receivedCount = 5;
    receiveCode(59123);
    receiveCode(DEV_STOP);
    EXPECT_EQ(expectedCount.load(), 5u);
    EXPECT_EQ(receivedCount.load(), 5u);
    EXPECT_EQ(countRegister[0], 123);
    EXPECT_EQ(sampleStore[5].day, 31);
    EXPECT_FALSE(isSet(count));
}

TEST_F(ProtocolEngine, PingReplySetsOnlyItsEvent) {
    receiveCode(DEV_PING_REPLY);
    EXPECT_TRUE(isSet(ping));
    EXPECT_FALSE(isSet(count));
}

TEST_F(ProtocolEngine, RepliesBeforeTheEventsExistAreDropped) {
    pingReplyEvent = nullptr;
    countReplyEvent = nullptr;
    receiveCode(DEV_PING_REPLY);
    receiveCode(DEV_COUNT_HI + 1);
    EXPECT_EQ(expectedCount.load(), 1u << 16);
    EXPECT_FALSE(isSet(ping));
    EXPECT_FALSE(isSet(count));
}

TEST_F(ProtocolEngine, QueuedCountLeavesOneCodePerTickLowByteFirst) {
    ASSERT_TRUE(queueCount(1048576));
    EXPECT_EQ(pumpAndTake(), Codes{59000});
    EXPECT_EQ(pumpAndTake(), Codes{59300});
    EXPECT_EQ(pumpAndTake(), Codes{59616});
    EXPECT_TRUE(pumpAndTake().empty());

    ASSERT_TRUE(queueCount(6000 | 0xFF000000u)); // bits 24-31 are not sent
    ASSERT_TRUE(queueCode(DEV_START));
    EXPECT_EQ(pumpAndTake(), Codes{59112});
    EXPECT_EQ(pumpAndTake(), Codes{59323});
    EXPECT_EQ(pumpAndTake(), Codes{59600});
    EXPECT_EQ(pumpAndTake(), Codes{DEV_START});
}

TEST_F(ProtocolEngine, PingAndStopOvertakeQueuedCodes) {
    ASSERT_TRUE(queueCount(6000));
    sendPing();
    EXPECT_EQ(codesIn(takeSent()), Codes{DEV_PING});
    EXPECT_EQ(pumpAndTake(), Codes{59112});
    sendStop();
    EXPECT_EQ(pumpAndTake(), (Codes{DEV_STOP, 59323}));
}

TEST_F(ProtocolEngine, FullRingDropsWholeFramesAndKeepsWhatWaits) {
    // Several rounds, so the frames also wrap past the end of the ring.
    for (uint16_t round = 0; round < 4; ++round) {
        Codes waiting;
        for (uint16_t i = 0; i < 5; ++i) {
            waiting.push_back(static_cast<uint16_t>(1000 * round + i));
            sendCode(waiting.back());
        }
        EXPECT_EQ(txRingPending(), 30u);
        Bytes seventh = frameOf(DEV_STOP);
        EXPECT_FALSE(txRingPut(seventh.data(), FRAME16_SIZE));
        sendPing(); // dropped as well
        EXPECT_EQ(codesIn(takeSent()), waiting);
    }
    Bytes tooLong(TX_RING_SIZE, 0x41);
    EXPECT_FALSE(txRingPut(tooLong.data(), TX_RING_SIZE));
    EXPECT_TRUE(txRingPut(tooLong.data(), TX_RING_SIZE - 1));
    EXPECT_EQ(takeSent().size(), TX_RING_SIZE - 1);
}

TEST_F(ProtocolEngine, FullQueueRefusesCodesAndKeepsWhatWaits) {
    Codes queued;
    for (uint16_t i = 0; i < COMMAND_QUEUE_SIZE - 1; ++i) {
        queued.push_back(static_cast<uint16_t>(59000 + i));
        ASSERT_TRUE(queueCode(queued.back()));
    }
    EXPECT_FALSE(queueCode(DEV_START));
    EXPECT_FALSE(commandQueueEmpty());
    Codes sent;
    for (size_t i = 0; i < queued.size(); ++i) {
        Codes tick = pumpAndTake();
        sent.insert(sent.end(), tick.begin(), tick.end());
    }
    EXPECT_EQ(sent, queued);
    EXPECT_TRUE(commandQueueEmpty());
}

TEST_F(ProtocolEngine, CountIsQueuedWholeOrNotAtAll) {
    for (uint32_t i = 0; i < COMMAND_QUEUE_SIZE - 3; ++i) {
        ASSERT_TRUE(queueCode(DEV_START));
    }
    EXPECT_FALSE(queueCount(6000)); // two slots left
    EXPECT_EQ(commandQueueRoom(), 2u);
    ASSERT_TRUE(pumpAndTake() == Codes{DEV_START});
    EXPECT_TRUE(queueCount(6000));
    EXPECT_EQ(commandQueueRoom(), 0u);
}

TEST_F(ProtocolEngine, IdleTickSendsNothingAndConfirmsNothing) {
    setCountConfirmHandler(countConfirmed);
    pumpTick();
    EXPECT_EQ(txRingPending(), 0u);
    EXPECT_EQ(confirmCalls, 0);
}

TEST_F(ProtocolEngine, PendingConfirmationRunsOnceTheQueueIsEmpty) {
    setCountConfirmHandler(countConfirmed);
    ASSERT_TRUE(queueCount(6000));
    countConfirmPending = true;
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(pumpAndTake().size(), 1u);
        EXPECT_EQ(confirmCalls, 0);
    }
    pumpTick();
    EXPECT_EQ(confirmCalls, 1);
    EXPECT_FALSE(countConfirmPending);
    EXPECT_EQ(txRingPending(), 0u);
    pumpTick();
    EXPECT_EQ(confirmCalls, 1);
}

TEST_F(ProtocolEngine, PendingConfirmationWithoutHandlerIsCleared) {
    countConfirmPending = true;
    pumpTick();
    EXPECT_FALSE(countConfirmPending);
    EXPECT_EQ(txRingPending(), 0u);
}

} // namespace
