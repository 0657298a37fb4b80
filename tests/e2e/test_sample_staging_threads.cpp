// The received count between the reader thread, which appends, and the
// user-interface thread, which restarts it at 0 when a second Transfer is
// confirmed while values of the first still arrive.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "data/sample_store.h"
#include "link/sample_staging.h"

namespace {

TEST(SampleStagingThreads, ARestartWhileValuesArriveIsNeverUndone) {
    // Appending as fast as a thread can makes the restart land between the
    // reader's reading and advancing of the count in many of the rounds.
    constexpr uint32_t APPENDS = 200000;
    constexpr uint32_t RESTART_AFTER = 1000;
    constexpr int ROUNDS = 20;
    int undone = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        receivedCount.store(0);
        std::thread reader([] {
            for (uint32_t i = 0; i < APPENDS; ++i)
                appendValue(uint8_t(i));
        });
        while (receivedCount.load(std::memory_order_acquire) < RESTART_AFTER) {
        }
        receivedCount.store(0, std::memory_order_release);
        reader.join();
        // Every value after the restart counts from 0, so fewer than all.
        undone += receivedCount.load() >= APPENDS;
    }
    EXPECT_EQ(undone, 0) << "rounds whose restart at 0 was overwritten by the reader";
    receivedCount.store(0);
}

} // namespace
