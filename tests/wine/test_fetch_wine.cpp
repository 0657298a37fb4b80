// korvex-fetch.exe, the Windows build, under Wine: the simulated T596 on a
// pseudo-terminal that Wine's prefix maps as COM1, downloaded from and checked
// as the Linux program is; and the Windows simulator, t596sim.exe, serving
// another COM port of the prefix. Run by the Windows build's tests, which give
// the commands that start the programs in their prefix and the prefix's port
// links.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/fetch_on_sims.h"

namespace {

// Wine may take this long to start a program on a busy machine.
constexpr int START_LIMIT_MS = 30000;
constexpr int END_LIMIT_MS = 10000;

// A program of a test started through the shell, its output (standard output
// and error) read line by line. Every wait on it has a time limit, and one
// still running when the test ends is killed.
class ShellProgram {
  public:
    explicit ShellProgram(const std::string& command)
        : pipe(popen(("echo $$; exec " + command + " 2>&1").c_str(), "r")) {
        pid = pipe != nullptr ? std::atoi(nextLine(START_LIMIT_MS).c_str()) : 0;
    }
    ~ShellProgram() { end(SIGKILL); }

    // The next line it prints, without its line end (a Windows program's
    // too); empty once it has ended or after limitMs without one.
    std::string nextLine(int limitMs) {
        for (;;) {
            size_t end = output.find('\n');
            if (end != std::string::npos) {
                std::string line = output.substr(0, end);
                output.erase(0, end + 1);
                std::erase(line, '\r');
                return line;
            }
            pollfd ready{fileno(pipe), POLLIN, 0};
            char chunk[512];
            ssize_t got = poll(&ready, 1, limitMs) == 1 ? read(ready.fd, chunk, sizeof chunk) : 0;
            if (got <= 0)
                return "";
            output.append(chunk, size_t(got));
        }
    }
    // Whether it prints a line holding text before its end or the limit.
    bool awaitLine(const std::string& text) {
        for (std::string line = nextLine(START_LIMIT_MS); !line.empty();
             line = nextLine(START_LIMIT_MS)) {
            if (line.find(text) != std::string::npos)
                return true;
        }
        return false;
    }
    // Sends the signal and returns the program's exit code once it has ended,
    // or -1 when it ended otherwise or had to be killed.
    int end(int signal) {
        if (pipe == nullptr)
            return -1;
        if (pid > 0)
            kill(pid, signal);
        // Its output ends when it does.
        pollfd ready{fileno(pipe), POLLIN, 0};
        char chunk[512];
        while (poll(&ready, 1, END_LIMIT_MS) == 1 && read(ready.fd, chunk, sizeof chunk) > 0) {
        }
        if (pid > 0)
            kill(pid, SIGKILL); // nothing left to end unless it hung
        int status = pclose(pipe);
        pipe = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* pipe;
    pid_t pid = 0;
    std::string output;
};

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

// t596sim.exe serving COM2 and korvex-fetch.exe on COM1, both under Wine,
// the ports joined as a null-modem cable joins them: two linked
// pseudo-terminals, which the prefix maps as COM1 and COM2.
TEST_F(FetchUnderWine, TheWindowsSimulatorOnAComPortServesTheWindowsProgram) {
    const char* simulator = std::getenv("KORVEX_WINE_SIM");
    ASSERT_NE(simulator, nullptr) << "run by the Windows build's tests, which set KORVEX_WINE_SIM";
    std::string port1 = winePorts + "/port1", port2 = winePorts + "/port2";
    unlink(port1.c_str());
    unlink(port2.c_str());
    ShellProgram cable("socat -d -d pty,raw,echo=0,link=" + port1 +
                       " pty,raw,echo=0,link=" + port2);
    ASSERT_TRUE(cable.awaitLine("starting data transfer loop"));
    ShellProgram sim(std::string(simulator) +
                     " --port com2 --interval 20 --pace none --pattern count");
    ASSERT_EQ(sim.nextLine(START_LIMIT_MS), "COM2");

    FetchRun run = runFetch("--port COM1 --span '20 minutes' -o simulated");
    // The Linux program that reads the file back opens COM1 as it starts: the
    // cable's end that the fetch has let go.
    setenv("KORVEX_COM1", port1.c_str(), 1);
    expectCountDownload(run, workDir + "/simulated.kvd");
    EXPECT_EQ(sim.end(SIGINT), 0) << "Ctrl-C ends the simulator as it ends on Linux";
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
