// The link when things go wrong: ports that are missing, held or not serial,
// a device that vanishes, a write that cannot finish, and many opens and
// closes. Nothing may stay behind, spin or hang.
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "acquire/transfer_sequence.h"
#include "data/sample_store.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "link/protocol_engine.h"
#include "link/reply_wait.h"
#include "link/sample_staging.h"
#include "link/tx_ring.h"
#include "platform/clock.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "tests/support/link_fixture.h"
#include "tests/support/link_session.h"
#include "tests/support/process_probe.h"
#include "tests/support/sim_process.h"

namespace {

// closeLink must not wait for a byte or a write; this only catches a hang.
constexpr uint64_t PROMPT_CLOSE_MS = 2000;

struct Holdings {
    int threads;
    int descriptors;
};

Holdings holdings() {
    return {processThreadCount(), processDescriptorCount()};
}

void expectNothingLeft(const Holdings& before) {
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(processThreadCount(), before.threads) << "a thread was left behind";
    EXPECT_EQ(processDescriptorCount(), before.descriptors) << "a descriptor was left behind";
}

uint64_t timedCloseMs() {
    uint64_t start = monotonicMs();
    closeLink();
    return monotonicMs() - start;
}

class LinkFaults : public LinkTest {
  protected:
    static void SetUpTestSuite() {
        // Sanitizer runtimes start a helper thread with the first thread the
        // process creates; start it here so it is not counted as a leak.
        std::thread([] {}).join();
    }
};

TEST_F(LinkFaults, ClosingALinkThatIsNotOpenDoesNothing) {
    Holdings before = holdings();
    closeLink();
    closeLink();
    expectNothingLeft(before);

    startDevice();
    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    closeLink();
    closeLink();
    expectNothingLeft(before);
}

TEST_F(LinkFaults, MissingOrUnsuitablePortFailsAndLeavesNothing) {
    startDevice();
    Holdings before = holdings();
    EXPECT_FALSE(openLinkDevice("/nonexistent/ttyT596", LINK_BAUD));
    EXPECT_EQ(linkOpenError(), ENOENT);
    expectNothingLeft(before);
    // Opens fine but is no terminal: the line settings cannot apply.
    EXPECT_FALSE(openLinkDevice("/dev/null", LINK_BAUD));
    EXPECT_EQ(linkOpenError(), ENOTTY);
    expectNothingLeft(before);
    // A speed the link does not offer.
    EXPECT_FALSE(openLinkDevice(sim.linkPath, 12345));
    expectNothingLeft(before);

    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_TRUE(pingDevice());
}

TEST_F(LinkFaults, PortHeldInThisProcessFailsUntilReleased) {
    startDevice();
    int holder = open(sim.linkPath, O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    Holdings before = holdings();
    EXPECT_FALSE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_EQ(linkOpenError(), EBUSY);
    expectNothingLeft(before);
    close(holder);

    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_TRUE(pingDevice());
}

TEST_F(LinkFaults, PortHeldByAnotherProcessFailsUntilReleased) {
    startDevice();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another program holding the port the way the link does.
        int fd = open(sim.linkPath, O_RDWR | O_NOCTTY);
        char held = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        if (write(ready[1], &held, 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char held = 'n';
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    ASSERT_EQ(held, 'y');

    Holdings before = holdings();
    EXPECT_FALSE(openLinkDevice(sim.linkPath, LINK_BAUD));
    expectNothingLeft(before);

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_TRUE(pingDevice());
}

TEST_F(LinkFaults, ASecondOpenWhileOpenFailsAndKeepsTheFirst) {
    startDevice();
    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    Holdings before = holdings();
    EXPECT_FALSE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(processThreadCount(), before.threads);
    EXPECT_EQ(processDescriptorCount(), before.descriptors);
    EXPECT_TRUE(pingDevice());
}

TEST_F(LinkFaults, OpeningAndClosingTwoHundredTimesLeaksNothing) {
    startDevice();
    Holdings before = holdings();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD)) << "open " << i;
        if (i % 50 == 0)
            sendPing(); // now and then with a write in flight
        closeLink();
    }
    expectNothingLeft(before);
    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    EXPECT_TRUE(pingDevice());
}

TEST_F(LinkFaults, VanishingDeviceLeavesTheProcessIdle) {
    startDevice({"--pace", "none", "--pattern", "count", "--vanish-after", "5000"});
    Holdings before = holdings();
    ASSERT_TRUE(openLinkDevice(sim.linkPath, LINK_BAUD));
    ASSERT_TRUE(beginTransfer(100000));
    ASSERT_TRUE(waitSimExit(&sim, 30000)) << "the simulator did not vanish";
    EXPECT_LE(waitReceivedSettled(300, 30000), 5000u);
    EXPECT_TRUE(linkDeviceGone());
    // Writing to the dead line must not wake anything up for good either.
    sendPing();

    uint64_t cpuStart = processCpuMicroseconds();
    uint64_t wallStart = monotonicMs();
    sleepMs(1000);
    uint64_t cpuUs = processCpuMicroseconds() - cpuStart;
    uint64_t wallUs = (monotonicMs() - wallStart) * 1000;
    EXPECT_LT(cpuUs * 100, wallUs * 5)
        << "the process used " << cpuUs << " us of " << wallUs << " us after the device vanished";

    EXPECT_LT(timedCloseMs(), PROMPT_CLOSE_MS);
    EXPECT_FALSE(linkDeviceGone());
    expectNothingLeft(before);
}

// A pseudo-terminal whose other end never reads fills up, so the writer is
// left in a pending write; closing must still end it at once.
TEST_F(LinkFaults, CloseDuringAPendingWriteEndsBothThreads) {
    Holdings before = holdings();
    int master = -1;
    int slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    close(slave);
    ASSERT_TRUE(openLinkDevice(name, LINK_BAUD));

    bool stuck = false;
    for (int i = 1; i <= 200000 && !stuck; ++i) {
        sendPing();
        if (i % 500 == 0) {
            sleepMs(20);
            stuck = txRingPending() > 0;
        }
    }
    ASSERT_TRUE(stuck) << "the writer never blocked";
    EXPECT_LT(timedCloseMs(), PROMPT_CLOSE_MS);
    close(master);
    expectNothingLeft(before);
    // What was left in the ring goes out with the next link's first put.
    while (txRingPending() > 0) {
        uint8_t discard[TX_RING_SIZE];
        txRingTake(discard);
    }
}

// On a loaded machine the reader thread may run well after the device's bytes
// arrived. A wait that ends first still takes in everything the port held by
// its deadline: a reply that came in time counts, here with no time at all.
TEST_F(LinkFaults, AReplyThatReachedThePortByTheDeadlineCounts) {
    int master = -1;
    int slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_TRUE(openLinkDevice(name, LINK_BAUD));
    close(slave);
    receivedCount.store(0);
    std::vector<uint8_t> burst;
    constexpr uint32_t VALUES = 3000;
    for (uint32_t i = 0; i < VALUES; ++i) {
        uint8_t frame[FRAME8_SIZE];
        encodeValueFrame(uint8_t(i % 200), frame);
        burst.insert(burst.end(), frame, frame + FRAME8_SIZE);
    }
    uint8_t reply[FRAME16_SIZE];
    encodeFrame(DEV_PING_REPLY, reply);
    burst.insert(burst.end(), reply, reply + FRAME16_SIZE);
    for (size_t done = 0; done < burst.size();) {
        ssize_t wrote = write(master, burst.data() + done, burst.size() - done);
        ASSERT_GT(wrote, 0);
        done += size_t(wrote);
    }
    EXPECT_TRUE(awaitReply(pingReplyEvent, 0)) << "the reply behind the values";
    EXPECT_EQ(receivedCount.load(), VALUES);
    closeLink();
    close(master);
}

TEST_F(LinkFaults, NumberedPortFollowsItsEnvironmentVariable) {
    startDevice();
    setenv("KORVEX_COM7", sim.linkPath, 1);
    char path[256];
    ASSERT_EQ(resolveSerialPort(7, path, sizeof path), 0);
    EXPECT_STREQ(path, sim.linkPath);
    EXPECT_NE(resolveSerialPort(7, path, 8), 0) << "a path that does not fit was cut";
    ASSERT_TRUE(openLink(7, LINK_BAUD));
    EXPECT_TRUE(pingDevice());
    closeLink();

    setenv("KORVEX_COM7", "/nonexistent/ttyT596", 1);
    Holdings before = holdings();
    EXPECT_FALSE(openLink(7, LINK_BAUD));
    expectNothingLeft(before);
    unsetenv("KORVEX_COM7");
    EXPECT_NE(resolveSerialPort(0, path, sizeof path), 0);
}

} // namespace
