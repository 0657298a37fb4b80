// korvex-fetch.exe, the Windows build, under Wine: the simulated T596 on a
// pseudo-terminal that Wine's prefix maps as COM1, downloaded from and checked
// as the Linux program is. Run by the Windows build's tests, which give the
// command that starts the program in its prefix and the prefix's port links.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "tests/e2e/fetch_on_sims.h"

namespace {

class FetchUnderWine : public FetchOnSims {
  protected:
    void SetUp() override {
        FetchOnSims::SetUp();
        const char* command = std::getenv("KORVEX_WINE_FETCH");
        const char* ports = std::getenv("KORVEX_WINE_PORTS");
        ASSERT_TRUE(command != nullptr && ports != nullptr)
            << "run by the Windows build's tests, which set KORVEX_WINE_FETCH and "
               "KORVEX_WINE_PORTS";
        program = command;
        winePorts = ports;
    }

    // The simulator on COMn of the prefix: the port's link points at the
    // simulator's own link to its pseudo-terminal.
    void startSimOnWinePort(int port, std::initializer_list<const char*> arguments) {
        startSimOn(port, arguments);
        std::string link = winePorts + "/port" + std::to_string(port);
        unlink(link.c_str());
        ASSERT_EQ(symlink(sims[port - 1].linkPath, link.c_str()), 0) << link;
    }

    std::string winePorts;
};

TEST_F(FetchUnderWine, ADownloadOpensInTheLinuxProgramWithTheSameRecords) {
    startSimOnWinePort(1, {"--interval", "20", "--pace", "none", "--pattern", "count"});
    // Into the working directory, which Wine shows as a drive path, under a
    // name that the ANSI code page cannot hold.
    FetchRun run = runFetch("--port COM1 --span '20 Minuten' -o 'M\u00e5ling \u03a9'");
    expectCountDownload(run, workDir + "/M\u00e5ling \u03a9.kvd");
}

TEST_F(FetchUnderWine, ASilentDeviceEndsWithNoConnection) {
    startSimOnWinePort(1, {"--silent"});
    FetchRun run = runFetch("--port COM1 --lang de -o silent");
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("Keine Verbindung zum T596."), std::string::npos) << run.output;
    EXPECT_NE(access((workDir + "/silent.kvd").c_str(), F_OK), 0);
}

// The reader sees its port fail and reports the device gone, which ends the
// transfer as on Linux; it must neither spin nor keep the program from ending.
TEST_F(FetchUnderWine, ASimulatorStoppedMidwayEndsTheTransfer) {
    startSimOnWinePort(1, {"--interval", "50", "--pace", "line", "--pattern", "count"});
    std::string stopSim = "kill -TERM " + std::to_string(sims[0].pid);
    FetchRun run = runFetch("--port COM1 --span '2 hours' -o stopped", "3", stopSim);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("No communication to T596."), std::string::npos) << run.output;
    EXPECT_NE(access((workDir + "/stopped.kvd").c_str(), F_OK), 0);
}

} // namespace
