// The received values staged apart from the records on display, and their
// commit into the store once a transfer completes.
#include <gtest/gtest.h>

#include <cstring>

#include "acquire/transfer_sequence.h"
#include "data/sample_store.h"
#include "link/sample_staging.h"

namespace {

const SampleRecord SHOWN{9, 12, 31, 23, 59, 59, 4, 2, 77};

class SampleStaging : public ::testing::Test {
  protected:
    void SetUp() override {
        for (uint32_t i = 0; i < 8; ++i) {
            sampleStore[i] = SHOWN;
        }
        dataHeader.count = 8;
        receivedCount = 0;
    }
};

TEST_F(SampleStaging, AppendingLeavesTheRecordsOnDisplayAlone) {
    for (uint8_t v = 1; v <= 5; ++v) {
        appendValue(v);
    }
    EXPECT_EQ(receivedCount.load(), 5u);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(stagedValues[i], i + 1);
    }
    for (uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(std::memcmp(&sampleStore[i], &SHOWN, sizeof SHOWN), 0) << "record " << i;
    }
    EXPECT_EQ(dataHeader.count, 8u);
}

TEST_F(SampleStaging, ValuesPastTheCapacityAreDropped) {
    receivedCount = SAMPLE_STORE_CAPACITY - 1;
    appendValue(11);
    appendValue(12);
    appendValue(13);
    EXPECT_EQ(receivedCount.load(), SAMPLE_STORE_CAPACITY);
    EXPECT_EQ(stagedValues[SAMPLE_STORE_CAPACITY - 1], 11);
}

TEST_F(SampleStaging, CommitCopiesExactlyCountValuesAndKeepsTheStamps) {
    for (uint8_t v = 1; v <= 5; ++v) {
        appendValue(v);
    }
    commitStagedValues(3);
    EXPECT_EQ(dataHeader.count, 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sampleStore[i].value, i + 1);
        EXPECT_EQ(sampleStore[i].day, SHOWN.day);
        EXPECT_EQ(sampleStore[i].hundredths, SHOWN.hundredths);
    }
    EXPECT_EQ(sampleStore[3].value, SHOWN.value);
}

TEST_F(SampleStaging, CommitIsHeldAtTheCapacity) {
    commitStagedValues(SAMPLE_STORE_CAPACITY + 10);
    EXPECT_EQ(dataHeader.count, SAMPLE_STORE_CAPACITY);
}

TEST_F(SampleStaging, CommitOfNothingEmptiesTheStore) {
    commitStagedValues(0);
    EXPECT_EQ(dataHeader.count, 0u);
    EXPECT_EQ(sampleStore[0].value, SHOWN.value);
}

} // namespace
