// The POSIX services under the link and the files: events across threads,
// and files opened without sharing.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/event.h"
#include "platform/file.h"

namespace {

TEST(PlatformEvent, ManualResetReleasesEveryWaitUntilReset) {
    EventHandle event = nullptr;
    ASSERT_EQ(eventCreate(true, &event), 0);
    EXPECT_FALSE(eventWait(event, 0));
    eventSet(event);
    EXPECT_TRUE(eventWait(event, 0));
    EXPECT_TRUE(eventWait(event, 0));
    eventReset(event);
    EXPECT_FALSE(eventWait(event, 10));
    eventClose(event);
}

TEST(PlatformEvent, AutoResetIsConsumedByOneWait) {
    EventHandle event = nullptr;
    ASSERT_EQ(eventCreate(false, &event), 0);
    eventSet(event);
    eventSet(event);
    EXPECT_TRUE(eventWait(event, 0));
    EXPECT_FALSE(eventWait(event, 0));
    eventClose(event);
}

TEST(PlatformEvent, SetOnAnotherThreadWakesAWaiter) {
    for (bool manual : {true, false}) {
        EventHandle event = nullptr;
        ASSERT_EQ(eventCreate(manual, &event), 0);
        std::atomic<bool> woke{false};
        std::thread waiter([&] { woke = eventWait(event, EVENT_WAIT_FOREVER); });
        sleepMs(20);
        eventSet(event);
        waiter.join();
        EXPECT_TRUE(woke.load()) << (manual ? "manual" : "auto");
        eventClose(event);
    }
}

TEST(PlatformEvent, TimedWaitEndsWithoutTheEvent) {
    EventHandle event = nullptr;
    ASSERT_EQ(eventCreate(true, &event), 0);
    uint64_t start = monotonicMs();
    EXPECT_FALSE(eventWait(event, 50));
    EXPECT_GE(monotonicMs() - start, 50u) << "the wait ended before its time-out";
    eventClose(event);
}

class PlatformFile : public ::testing::Test {
  protected:
    void SetUp() override {
        snprintf(directory, sizeof directory, "/tmp/korvex-file-XXXXXX");
        ASSERT_NE(mkdtemp(directory), nullptr);
        snprintf(path, sizeof path, "%s/data.kvd", directory);
    }
    void TearDown() override {
        unlink(path);
        rmdir(directory);
    }
    char directory[64];
    char path[96];
};

TEST_F(PlatformFile, OpenAlwaysReportsWhetherTheFileWasThere) {
    FileHandle file = FILE_NONE;
    bool existed = true;
    ASSERT_EQ(fileOpen(path, FILE_READ | FILE_WRITE, FILE_OPEN_ALWAYS, &file, &existed), 0);
    EXPECT_FALSE(existed);
    uint32_t moved = 0;
    EXPECT_EQ(fileWrite(file, "T596", 4, &moved), 0);
    EXPECT_EQ(moved, 4u);
    EXPECT_EQ(fileClose(file), 0);

    ASSERT_EQ(fileOpen(path, FILE_READ, FILE_OPEN_ALWAYS, &file, &existed), 0);
    EXPECT_TRUE(existed);
    char buffer[8] = {};
    EXPECT_EQ(fileRead(file, buffer, sizeof buffer, &moved), 0);
    EXPECT_EQ(moved, 4u) << "a short file reads short, without an error";
    EXPECT_STREQ(buffer, "T596");
    uint64_t size = 0;
    EXPECT_EQ(fileSize(file, &size), 0);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(fileClose(file), 0);
}

TEST_F(PlatformFile, SecondHolderFailsAndCannotTruncate) {
    FileHandle first = FILE_NONE;
    ASSERT_EQ(fileOpen(path, FILE_WRITE, FILE_CREATE_ALWAYS, &first, nullptr), 0);
    uint32_t moved = 0;
    ASSERT_EQ(fileWrite(first, "keep", 4, &moved), 0);

    FileHandle second = FILE_NONE;
    int err = fileOpen(path, FILE_WRITE, FILE_CREATE_ALWAYS, &second, nullptr);
    EXPECT_TRUE(err == EWOULDBLOCK || err == EBUSY) << err;
    EXPECT_EQ(second, FILE_NONE);
    uint64_t size = 0;
    EXPECT_EQ(fileSize(first, &size), 0);
    EXPECT_EQ(size, 4u) << "the failed open truncated the held file";
    EXPECT_EQ(fileClose(first), 0);

    bool existed = false;
    ASSERT_EQ(fileOpen(path, FILE_WRITE, FILE_CREATE_ALWAYS, &second, &existed), 0);
    EXPECT_TRUE(existed);
    EXPECT_EQ(fileSize(second, &size), 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(fileClose(second), 0);
}

TEST_F(PlatformFile, MissingFileOrDirectoryFailsWithItsErrorNumber) {
    FileHandle file = FILE_NONE;
    EXPECT_EQ(fileOpen(path, FILE_READ, FILE_OPEN_EXISTING, &file, nullptr), ENOENT);
    EXPECT_EQ(file, FILE_NONE);
    EXPECT_EQ(fileOpen(directory, FILE_READ, FILE_OPEN_EXISTING, &file, nullptr), EISDIR);
    EXPECT_EQ(file, FILE_NONE);
}

TEST_F(PlatformFile, FifoOrDeviceIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(path, 0600), 0);
    FileHandle file = FILE_NONE;
    // Without a writer a blocking open of the FIFO would never return.
    EXPECT_EQ(fileOpen(path, FILE_READ, FILE_OPEN_ALWAYS, &file, nullptr), EINVAL);
    EXPECT_EQ(file, FILE_NONE);
    EXPECT_EQ(fileOpen("/dev/null", FILE_WRITE, FILE_CREATE_ALWAYS, &file, nullptr), EINVAL);
    EXPECT_EQ(file, FILE_NONE);
}

} // namespace
