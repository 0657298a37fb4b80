// Prints the figures of a transfer through the whole sequence (command,
// dialog, handshake, reception, completion) against the simulated T596, and
// of saving and opening a full store against a plain copy of the same bytes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "acquire/transfer_sequence.h"
#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "app/transfer_command.h"
#include "data/sample_store.h"
#include "link/command_queue.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "res/resource_ids.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/sim_process.h"
#include "tools/t596sim/sim_pattern.h"

namespace {

constexpr double LINE_BYTES_PER_SECOND = 5760.0;
constexpr double SAMPLE_FRAME_BYTES = 4.0;
constexpr uint32_t GIVE_UP_MS = 120000;
constexpr int FILE_REPEATS = 5;

struct TransferFigures {
    bool completed;
    uint32_t asked;
    uint32_t count;
    uint32_t wrongValues;
    double handshakeMs; // Transfer command to the first sample
    double totalMs;     // Transfer command to completion
    double streamMs;    // DEV_START on the line to completion
};

// The main window's message loop with its two timers, until the transfer is
// over or the time limit passes.
TransferFigures runTransfer(const char* linkPath, int span) {
    TransferFigures figures{};
#ifdef _WIN32
    (void)linkPath; // the simulator's port is COM1 of the Wine prefix
#else
    setenv("KORVEX_COM1", linkPath, 1);
#endif
    scriptedReset();
    // Each run is a program started afresh: no samples, none unsaved to ask about.
    dataPresent = false;
    dataUnsaved = false;
    mainWindowCreate();
    mainWindowCreateEvents();
    scripted.acquisitionClicks = {1001 + span, 1};
    uint64_t start = monotonicMs();
    mainWindowCommand(IDM_TRANSFER, 0);
    scriptedRunPostedCommands();
    figures.asked = expectedCount.load();
    uint64_t nextPump = monotonicMs() + PUMP_PERIOD_MS;
    uint64_t nextProgress = monotonicMs() + PROGRESS_PERIOD_MS;
    uint64_t firstSample = 0;
    uint64_t startSent = 0;
    uint32_t lastReceived = 0;
    uint64_t lastArrival = start;
    for (;;) {
        scriptedRunPostedCommands();
        uint64_t now = monotonicMs();
        if (transferActive && startSent == 0 && commandQueueEmpty())
            startSent = now;
        uint32_t received = receivedCount.load();
        if (transferActive && received > 0 && firstSample == 0)
            firstSample = now;
        if (received != lastReceived) {
            lastReceived = received;
            lastArrival = now;
        }
        if (dataPresent) {
            figures.completed = true;
            break;
        }
        bool idle = !transferActive && !countConfirmPending && commandQueueEmpty() &&
                    scripted.postedCommands.empty();
        if (idle || now - start > GIVE_UP_MS || (transferActive && now - lastArrival > 3000))
            break;
        if (now >= nextPump) {
            mainWindowTimer(IDT_PUMP);
            nextPump += PUMP_PERIOD_MS;
        }
        if (now >= nextProgress) {
            mainWindowTimer(IDT_PROGRESS);
            nextProgress += PROGRESS_PERIOD_MS;
        }
        sleepMs(1);
    }
    uint64_t end = monotonicMs();
    figures.count = figures.completed ? dataHeader.count : receivedCount.load();
    for (uint32_t i = 0; figures.completed && i < figures.count; ++i)
        figures.wrongValues += sampleStore[i].value != countPatternValue(i);
    figures.handshakeMs = firstSample != 0 ? double(firstSample - start) : 0;
    figures.totalMs = double(end - start);
    figures.streamMs = startSent != 0 ? double(end - startSent) : 0;
    transferAbortCommand();
    mainWindowDestroy();
    return figures;
}

void benchLineRate() {
    SimProcess sim;
    if (!startSim(&sim, {"--interval", "50", "--pace", "line", "--pattern", "count"})) {
        std::printf("line-rate transfer: the simulator did not start\n");
        return;
    }
    TransferFigures f = runTransfer(sim.linkPath, 6); // "2 hours" at 0.50 s: 14,400
    stopSim(&sim);
    double idealStreamMs = f.asked * SAMPLE_FRAME_BYTES / LINE_BYTES_PER_SECOND * 1000.0;
    double handshakeMs = f.totalMs - f.streamMs;
    double idealMs = idealStreamMs + handshakeMs;
    std::printf("line-rate transfer of %u samples through the whole sequence (%s)\n", f.asked,
                f.completed ? "completed" : "NOT completed");
    std::printf(
        "  elapsed %.0f ms = handshake %.0f ms (command to DEV_START) + reception %.0f ms\n",
        f.totalMs, handshakeMs, f.streamMs);
    std::printf("  line-rate ideal %.0f ms + handshake %.0f ms = %.0f ms; elapsed is %+.2f %% "
                "(target: within 5 %%)\n",
                idealStreamMs, handshakeMs, idealMs, (f.totalMs - idealMs) / idealMs * 100.0);
    std::printf("  first sample %.0f ms after the command; records %u, wrong values %u\n",
                f.handshakeMs, f.count, f.wrongValues);
}

void benchUnthrottled() {
    SimProcess sim;
    if (!startSim(&sim, {"--interval", "1", "--pace", "none", "--pattern", "count"})) {
        std::printf("unthrottled transfer: the simulator did not start\n");
        return;
    }
    TransferFigures f = runTransfer(sim.linkPath, 8); // "12 hours" at 0.01 s: capped
    stopSim(&sim);
    std::printf("unthrottled transfer of %u samples (%s)\n", f.asked,
                f.completed ? "completed" : "NOT completed");
    std::printf("  reception %.0f ms: %.0f samples/s; lost samples %u; wrong values %u "
                "(target: 0 lost)\n",
                f.streamMs, f.streamMs > 0 ? f.count / (f.streamMs / 1000.0) : 0.0,
                f.asked - std::min(f.asked, f.count), f.wrongValues);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void flushToDisk(FILE* file) {
#ifdef _WIN32
    _commit(_fileno(file));
#else
    fsync(fileno(file));
#endif
}

// The reference: the same bytes read from one file and written to another,
// flushed to the disk as the save flushes its file, or left to the cache.
double plainCopyMs(const std::string& from, const std::string& to, bool flushed) {
    static std::vector<char> buffer(9 * 1048576 + 64);
    uint64_t start = monotonicMs();
    FILE* in = std::fopen(from.c_str(), "rb");
    size_t got = in != nullptr ? std::fread(buffer.data(), 1, buffer.size(), in) : 0;
    if (in != nullptr)
        std::fclose(in);
    FILE* out = std::fopen(to.c_str(), "wb");
    if (out != nullptr) {
        std::fwrite(buffer.data(), 1, got, out);
        if (flushed && std::fflush(out) == 0)
            flushToDisk(out);
        std::fclose(out);
    }
    return double(monotonicMs() - start);
}

// A fresh directory of this run's own under the system's temporary one;
// empty when none can be made.
std::filesystem::path scratchDirectory(const char* name) {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    for (unsigned n = 0; !error; ++n) {
        std::filesystem::path dir =
            base /
            (std::string(name) + "-" + std::to_string(monotonicMs()) + "-" + std::to_string(n));
        if (std::filesystem::create_directory(dir, error))
            return dir;
    }
    return {};
}

void benchDataFile() {
    std::filesystem::path scratch = scratchDirectory("korvex_bench_file");
    if (scratch.empty())
        return;
    std::string dir = scratch.string();
    for (uint32_t i = 0; i < SAMPLE_STORE_CAPACITY; ++i)
        sampleStore[i] = {9, 12, 25, 14, 30, uint8_t(i % 60), 0, 0, uint8_t(i % 200)};
    dataHeader = {100, 13, SAMPLE_STORE_CAPACITY, {}};
    dataPresent = true;
    std::string saved = dir + "/full.kvd";
    std::vector<double> saveMs, openMs, copyMs, flushedCopyMs;
    int failures = 0;
    for (int i = 0; i < FILE_REPEATS; ++i) {
        scriptedReset();
        uint64_t t0 = monotonicMs();
        failures += writeDataFile(saved.c_str()) != 0;
        uint64_t t1 = monotonicMs();
        failures += readDataFile(saved.c_str(), false) != 0;
        uint64_t t2 = monotonicMs();
        failures += int(scripted.messageBoxes.size());
        saveMs.push_back(double(t1 - t0));
        openMs.push_back(double(t2 - t1));
        copyMs.push_back(plainCopyMs(saved, dir + "/copy.kvd", false));
        flushedCopyMs.push_back(plainCopyMs(saved, dir + "/flushed.kvd", true));
    }
    // A second hard link to the file: a rename would part the two, so the
    // save writes into the file itself, behind a flushed copy of the old one.
    std::vector<double> inPlaceMs;
    std::error_code linked;
    std::filesystem::create_hard_link(saved, dir + "/also.kvd", linked);
    for (int i = 0; i < FILE_REPEATS && !linked; ++i) {
        uint64_t t0 = monotonicMs();
        failures += writeDataFile(saved.c_str()) != 0;
        inPlaceMs.push_back(double(monotonicMs() - t0));
    }
    double copy = std::max(median(copyMs), 0.5);
    double flushedCopy = std::max(median(flushedCopyMs), 0.5);
    std::printf("data file of %u records (%u bytes), median of %d%s\n", SAMPLE_STORE_CAPACITY,
                DATA_HEADER_SIZE + SAMPLE_RECORD_SIZE * SAMPLE_STORE_CAPACITY, FILE_REPEATS,
                failures != 0 ? ", WITH FAILURES" : "");
    std::printf("  save (written beside, flushed, renamed) %.0f ms, plain copy flushed to disk "
                "%.0f ms: %.2fx (target: within 1.5x); plain copy left to the cache %.0f ms\n",
                median(saveMs), median(flushedCopyMs), median(saveMs) / flushedCopy,
                median(copyMs));
    if (!inPlaceMs.empty())
        std::printf("  save in place (behind a flushed copy of the old content, for a file with "
                    "two links) %.0f ms: %.2fx the flushed plain copy (target: within 2.5x)\n",
                    median(inPlaceMs), median(inPlaceMs) / flushedCopy);
    std::printf("  open %.0f ms, plain copy left to the cache %.0f ms: %.2fx (target: within "
                "1.5x)\n",
                median(openMs), median(copyMs), median(openMs) / copy);
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
}

} // namespace

int main() {
    std::filesystem::path scratch = scratchDirectory("korvex_bench_transfer");
    std::error_code error;
    std::filesystem::current_path(scratch, error);
    if (scratch.empty() || error)
        return 1;
    benchLineRate();
    benchUnthrottled();
    benchDataFile();
    std::filesystem::current_path(scratch.parent_path(), error);
    std::filesystem::remove_all(scratch, error);
    return 0;
}
