// The program as a user drives it, for end-to-end tests: the real main window
// handlers, link, engine and transfer sequence behind the scripted front end,
// with simulated T596s on pseudo-terminals standing in for COM1..COM8.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/support/sim_process.h"

class ProgramOnSims : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a simulator and lets COMn stand for it.
    void startSimOn(int port, std::initializer_list<const char*> arguments);
    // Lets COMn stand for a device that does not exist.
    void missingPort(int port);
    // Runs window creation: configuration, port, menu, timers, then the
    // reply events.
    void createWindow();

    // Stands in for the message loop: posted commands, the 50 ms pump and
    // the 100 ms progress timer, until done() or the time limit.
    bool runLoop(const std::function<bool()>& done, uint32_t timeoutMs);
    // Runs the loop until no step of a transfer is pending any more.
    bool runUntilIdle(uint32_t timeoutMs);

    // Data that a transfer or an opened file left on display earlier.
    void showPreviousData(uint32_t count);
    // Whether the data on display is still what showPreviousData made.
    ::testing::AssertionResult previousDataIntact();

    std::vector<std::string> messageTexts();
    // The configuration file's port, or -1 when it does not exist.
    int configuredPort();

    std::string workDir;
    std::string startDir;
    SimProcess sims[8];
    uint32_t previousCount = 0;
    std::vector<uint8_t> previousHeader;
};
