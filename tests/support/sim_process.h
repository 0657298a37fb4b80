// Runs the simulated T596 (t596sim) as a child process for end-to-end tests
// and benchmarks. Every wait has a time limit, so a broken simulator fails a
// test instead of hanging it.
//
//   SimProcess sim;
//   ASSERT_TRUE(startSim(&sim, {"--pace", "none", "--pattern", "count"}));
//   openLinkDevice(sim.linkPath, LINK_BAUD);
//   ...
//   closeLink();
//   stopSim(&sim);
#pragma once
#include <cstdint>
#include <initializer_list>
#include <sys/types.h>

constexpr uint32_t SIM_START_TIMEOUT_MS = 5000;
constexpr uint32_t SIM_STOP_TIMEOUT_MS = 5000;

struct SimProcess {
    pid_t pid = -1;
    char directory[128] = {}; // a fresh temporary directory, removed by stopSim
    char linkPath[192] = {};  // the simulator's symbolic link to its pseudo-terminal
    bool exited = false;      // reaped already (the simulator ended by itself)
    int exitStatus = -1;      // waitpid status once exited
};

// Starts the simulator at executable with these arguments plus
// "--link <linkPath>" and waits until the link exists. False (and nothing left
// running) on failure or time-out.
bool startSimAt(const char* executable, SimProcess* sim,
                std::initializer_list<const char*> arguments,
                uint32_t timeoutMs = SIM_START_TIMEOUT_MS);
#ifdef KORVEX_T596SIM
// The build tells test and benchmark programs where it put t596sim.
inline bool startSim(SimProcess* sim, std::initializer_list<const char*> arguments,
                     uint32_t timeoutMs = SIM_START_TIMEOUT_MS) {
    return startSimAt(KORVEX_T596SIM, sim, arguments, timeoutMs);
}
#endif
// Waits up to timeoutMs for the simulator to end by itself (--vanish-after);
// true once it has.
bool waitSimExit(SimProcess* sim, uint32_t timeoutMs);
// Ends the simulator (SIGTERM, SIGKILL after the time limit), reaps it and
// removes its directory. True when it ended cleanly on SIGTERM or by itself
// with exit code 0. Safe to call twice.
bool stopSim(SimProcess* sim, uint32_t timeoutMs = SIM_STOP_TIMEOUT_MS);
