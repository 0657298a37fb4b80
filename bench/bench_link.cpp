// Figures of the device link: the receive path alone, transfers from t596sim
// over a pseudo-terminal (as fast as possible and at the real line rate), and
// the time stamping that follows a transfer. Prints one line per figure with
// its target.
#include <cstdio>
#include <ctime>

#include "acquire/transfer_sequence.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "link/frame_codec.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "platform/serial_link.h"
#include "tests/support/link_session.h"
#include "tests/support/process_probe.h"
#include "tests/support/sim_process.h"
#include "tools/t596sim/sim_pattern.h"

namespace {

constexpr uint32_t FULL_TRANSFER = SAMPLE_STORE_CAPACITY;
constexpr uint32_t LINE_TRANSFER = 14400; // 57,600 bytes: 10.0 s at 5,760 bytes/s
constexpr double LINE_IDEAL_SECONDS = 10.0;
constexpr uint32_t RECEIVE_ROUNDS = 5;
constexpr uint32_t TRANSFER_TIMEOUT_MS = 600000;

uint8_t encoded[FULL_TRANSFER * FRAME8_SIZE];

uint64_t nowUs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000u + static_cast<uint64_t>(t.tv_nsec) / 1000u;
}

uint32_t mismatches(uint32_t count) {
    uint32_t wrong = 0;
    for (uint32_t k = 0; k < count; ++k)
        wrong += stagedValues[k] != countPatternValue(k);
    return wrong;
}

void benchReceivePath() {
    for (uint32_t k = 0; k < FULL_TRANSFER; ++k)
        encodeValueFrame(countPatternValue(k), encoded + k * FRAME8_SIZE);
    constexpr uint32_t bytes = sizeof encoded;
    double bestWhole = 0.0;
    double bestSingle = 0.0;
    for (uint32_t round = 0; round < RECEIVE_ROUNDS; ++round) {
        rxLine.length = 0;
        receivedCount.store(0);
        uint64_t start = nowUs();
        receiveBytes(encoded, bytes);
        double whole = bytes / static_cast<double>(nowUs() - start);
        if (whole > bestWhole)
            bestWhole = whole;

        receivedCount.store(0);
        start = nowUs();
        // One call per byte, as the reader thread makes them.
        for (uint32_t i = 0; i < bytes; ++i)
            receiveBytes(encoded + i, 1);
        double single = bytes / static_cast<double>(nowUs() - start);
        if (single > bestSingle)
            bestSingle = single;
    }
    printf("receive path, one buffer of %u sample frames: %.1f MB/s (target >= 50); "
           "one byte per call: %.1f MB/s; wrong values %u\n",
           FULL_TRANSFER, bestWhole, bestSingle, mismatches(FULL_TRANSFER));
}

// Starts the simulator, opens the link and runs the handshake for count.
bool beginSimTransfer(SimProcess* sim, std::initializer_list<const char*> arguments,
                      uint32_t count) {
    if (!startSim(sim, arguments)) {
        printf("cannot start t596sim\n");
        return false;
    }
    if (!openLinkDevice(sim->linkPath, LINK_BAUD)) {
        printf("cannot open %s\n", sim->linkPath);
        stopSim(sim);
        return false;
    }
    rxLine.length = 0;
    if (!pingDevice() || !askCount(count)) {
        printf("no handshake with t596sim\n");
        closeLink();
        stopSim(sim);
        return false;
    }
    return true;
}

void benchUnthrottledTransfer() {
    SimProcess sim;
    if (!beginSimTransfer(&sim, {"--pace", "none", "--pattern", "count"}, FULL_TRANSFER))
        return;
    uint64_t start = nowUs();
    startReception();
    bool complete = waitReceived(FULL_TRANSFER, TRANSFER_TIMEOUT_MS);
    uint64_t elapsed = nowUs() - start;
    uint32_t got = waitReceivedSettled(200, 5000);
    closeLink();
    stopSim(&sim);
    printf("pty transfer from t596sim, unthrottled: %u samples in %.2f s = %.0f samples/s "
           "(target >= 50,000); lost %u (target 0); wrong values %u%s\n",
           got, elapsed / 1e6, got / (elapsed / 1e6),
           FULL_TRANSFER - (got < FULL_TRANSFER ? got : FULL_TRANSFER),
           mismatches(got < FULL_TRANSFER ? got : FULL_TRANSFER), complete ? "" : " (timed out)");
}

void benchLineRateTransfer() {
    SimProcess sim;
    if (!beginSimTransfer(&sim, {"--pace", "line", "--pattern", "count"}, LINE_TRANSFER))
        return;
    uint64_t cpuStart = processCpuMicroseconds();
    uint64_t start = nowUs();
    startReception();
    bool complete = waitReceived(LINE_TRANSFER, TRANSFER_TIMEOUT_MS);
    uint64_t elapsed = nowUs() - start;
    uint64_t cpu = processCpuMicroseconds() - cpuStart;
    uint32_t got = receivedCount.load();
    closeLink();
    stopSim(&sim);
    double seconds = elapsed / 1e6;
    printf("pty transfer at line rate, %u samples: %.3f s vs ideal %.1f s (%+.2f %%, target "
           "within 2 %%); process CPU %.2f %% of one core (target < 3 %%); lost %u%s\n",
           LINE_TRANSFER, seconds, LINE_IDEAL_SECONDS,
           100.0 * (seconds - LINE_IDEAL_SECONDS) / LINE_IDEAL_SECONDS, 100.0 * cpu / elapsed,
           LINE_TRANSFER - got, complete ? "" : " (timed out)");
}

void benchStamping() {
    // As after a transfer: the values are committed first, so the records'
    // pages are in memory before the stamps are timed.
    commitStagedValues(SAMPLE_STORE_CAPACITY);
    dataHeader.interval = 10;
    SystemTime now;
    getLocalTime(&now);
    uint64_t start = nowUs();
    stampFromEnd(now);
    double fromEnd = (nowUs() - start) / 1000.0;
    start = nowUs();
    stampFromStart(now);
    double fromStart = (nowUs() - start) / 1000.0;
    printf("stampFromEnd over %u records: %.2f ms (target < 10); stampFromStart: %.2f ms "
           "(target < 10)\n",
           SAMPLE_STORE_CAPACITY, fromEnd, fromStart);
}

} // namespace

int main() {
    if (!createReplyEvents()) {
        printf("cannot create the reply events\n");
        return 1;
    }
    benchReceivePath();
    benchUnthrottledTransfer();
    benchLineRateTransfer();
    benchStamping();
    closeReplyEvents();
    return 0;
}
