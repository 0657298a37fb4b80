#include "tests/e2e/program_on_sims.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "acquire/transfer_sequence.h"
#include "app/main_window.h"
#include "app/transfer_command.h"
#include "data/sample_store.h"
#include "link/command_queue.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "platform/clock.h"
#include "res/resource_ids.h"
#include "tests/support/link_session.h"
#include "tests/support/scripted_frontend.h"
#include "view/chart_view.h"

namespace {
constexpr uint32_t LOOP_STEP_MS = 2;

uint8_t previousByte(uint32_t i) {
    return uint8_t(i * 13 + 7);
}
} // namespace

void ProgramOnSims::SetUp() {
    scriptedReset();
    char cwd[512];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    startDir = cwd;
    char pattern[] = "/tmp/korvex_program_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    workDir = pattern;
    ASSERT_EQ(chdir(workDir.c_str()), 0);
    for (int port = 1; port <= 8; ++port)
        missingPort(port);
    clearLinkLeftovers();
    dataPresent = false;
    dataHeader = {};
    chartView = {};
    deviceInterval.store(0);
    expectedCount.store(0);
    receivedCount.store(0);
    retryArmed = true;
    transferActive = false;
}

void ProgramOnSims::TearDown() {
    if (HasFailure()) {
        for (const std::string& call : scripted.calls)
            std::fprintf(stderr, "  front end: %s\n", call.c_str());
    }
    transferAbortCommand();
    mainWindowDestroy();
    for (SimProcess& sim : sims)
        EXPECT_TRUE(stopSim(&sim)) << "a simulator did not end cleanly";
    clearLinkLeftovers();
    EXPECT_EQ(chdir(startDir.c_str()), 0);
    std::system(("rm -rf '" + workDir + "'").c_str());
}

void ProgramOnSims::startSimOn(int port, std::initializer_list<const char*> arguments) {
    ASSERT_TRUE(startSim(&sims[port - 1], arguments));
    setenv(("KORVEX_COM" + std::to_string(port)).c_str(), sims[port - 1].linkPath, 1);
}

void ProgramOnSims::missingPort(int port) {
    setenv(("KORVEX_COM" + std::to_string(port)).c_str(),
           (workDir + "/no-such-tty" + std::to_string(port)).c_str(), 1);
}

void ProgramOnSims::createWindow() {
    ASSERT_EQ(mainWindowCreate(), 0);
    mainWindowCreateEvents();
}

bool ProgramOnSims::runLoop(const std::function<bool()>& done, uint32_t timeoutMs) {
    uint64_t start = monotonicMs();
    uint64_t nextPump = start + PUMP_PERIOD_MS;
    uint64_t nextProgress = start + PROGRESS_PERIOD_MS;
    for (;;) {
        scriptedRunPostedCommands();
        if (done())
            return true;
        uint64_t now = monotonicMs();
        if (now - start > timeoutMs)
            return false;
        if (now >= nextPump) {
            mainWindowTimer(IDT_PUMP);
            nextPump = now + PUMP_PERIOD_MS;
        }
        if (now >= nextProgress) {
            mainWindowTimer(IDT_PROGRESS);
            nextProgress = now + PROGRESS_PERIOD_MS;
        }
        sleepMs(LOOP_STEP_MS);
    }
}

bool ProgramOnSims::runUntilIdle(uint32_t timeoutMs) {
    return runLoop(
        [] {
            return scripted.postedCommands.empty() && !transferRunning() && !countConfirmPending &&
                   commandQueueEmpty();
        },
        timeoutMs);
}

void ProgramOnSims::showPreviousData(uint32_t count) {
    for (uint32_t i = 0; i < count + 16; ++i) {
        uint8_t* record = &sampleStore[i].year;
        for (uint32_t b = 0; b < SAMPLE_RECORD_SIZE; ++b)
            record[b] = previousByte(i * SAMPLE_RECORD_SIZE + b);
    }
    dataHeader = {};
    dataHeader.interval = 33;
    dataHeader.amountIndex = 9;
    dataHeader.count = count;
    dataHeader.reserved[3] = 0x77;
    resetChartView();
    previousCount = count;
    previousHeader.assign(reinterpret_cast<uint8_t*>(&dataHeader),
                          reinterpret_cast<uint8_t*>(&dataHeader) + sizeof dataHeader);
}

::testing::AssertionResult ProgramOnSims::previousDataIntact() {
    if (!dataPresent)
        return ::testing::AssertionFailure() << "dataPresent was cleared";
    if (std::memcmp(&dataHeader, previousHeader.data(), sizeof dataHeader) != 0)
        return ::testing::AssertionFailure() << "the header changed";
    for (uint32_t i = 0; i < previousCount + 16; ++i) {
        const uint8_t* record = &sampleStore[i].year;
        for (uint32_t b = 0; b < SAMPLE_RECORD_SIZE; ++b) {
            if (record[b] != previousByte(i * SAMPLE_RECORD_SIZE + b))
                return ::testing::AssertionFailure()
                       << "record " << i << " byte " << b << " changed";
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> ProgramOnSims::messageTexts() {
    std::vector<std::string> texts;
    for (const ScriptedMessageBox& box : scripted.messageBoxes)
        texts.push_back(box.text + " / " + box.caption);
    return texts;
}

int ProgramOnSims::configuredPort() {
    FILE* file = std::fopen("DAQSetup.cnf", "rb");
    if (file == nullptr)
        return -1;
    uint8_t bytes[2] = {0, 0};
    size_t got = std::fread(bytes, 1, 2, file);
    std::fclose(file);
    return got == 2 ? bytes[0] | (bytes[1] << 8) : -1;
}
