// Test fixtures for the configuration file and for the main window driven
// through the scripted front end.
#pragma once
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

// Each test runs in a fresh working directory, where "DAQSetup.cnf" lives;
// the directory is removed, the previous one restored and the in-memory
// configuration put back to its start state (all zero) afterwards.
class ConfigDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static void writeConfigFile(const std::vector<uint8_t>& bytes);
    // The file's bytes; empty when there is none.
    static std::vector<uint8_t> configFileBytes();
    // What a first start writes: COM1, English.
    static std::vector<uint8_t> defaultConfigImage();

  private:
    char previousDirectory_[PATH_MAX] = {};
    std::string directory_;
};

// KORVEX_COM1..8 point at paths that do not exist, so no serial device of the
// machine takes part; attachPseudoTerminal makes COMn a port that opens.
// TearDown destroys a window the test left standing, which closes the link
// and the reply events.
class MainWindowTest : public ConfigDirectoryTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes COMn a pseudo-terminal and returns its device path.
    std::string attachPseudoTerminal(int port);
    // Destroys a standing window, detaches the pseudo-terminals and clears the
    // scripted front end, for a test that starts the program more than once.
    void resetWindow();

  private:
    std::vector<int> terminals_;
};

// The main window created on a COM1 that opens, with the calls of its
// creation forgotten: the state every routed command meets.
class CreatedMainWindowTest : public MainWindowTest {
  protected:
    void SetUp() override;
};
