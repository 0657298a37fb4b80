#include "tests/support/sim_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/clock.h"

extern char** environ;

namespace {

constexpr uint32_t POLL_STEP_MS = 5;
constexpr size_t MAX_ARGUMENTS = 32;

bool linkReady(const char* path) {
    struct stat st;
    return stat(path, &st) == 0; // follows the link to the pseudo-terminal
}

bool reap(SimProcess* sim, bool wait) {
    if (sim->exited)
        return true;
    int status = 0;
    pid_t got = waitpid(sim->pid, &status, wait ? 0 : WNOHANG);
    if (got != sim->pid)
        return false;
    sim->exited = true;
    sim->exitStatus = status;
    return true;
}

void removeDirectory(SimProcess* sim) {
    if (sim->directory[0] == '\0')
        return;
    unlink(sim->linkPath); // left behind only if the simulator was killed
    rmdir(sim->directory);
    sim->directory[0] = '\0';
}

} // namespace

bool startSimAt(const char* executable, SimProcess* sim,
                std::initializer_list<const char*> arguments, uint32_t timeoutMs) {
    *sim = SimProcess{};
    if (arguments.size() + 4 > MAX_ARGUMENTS)
        return false;
    snprintf(sim->directory, sizeof sim->directory, "/tmp/korvex-sim-XXXXXX");
    if (mkdtemp(sim->directory) == nullptr) {
        sim->directory[0] = '\0';
        return false;
    }
    snprintf(sim->linkPath, sizeof sim->linkPath, "%s/t596", sim->directory);

    const char* argv[MAX_ARGUMENTS] = {executable};
    size_t n = 1;
    for (const char* argument : arguments)
        argv[n++] = argument;
    argv[n++] = "--link";
    argv[n++] = sim->linkPath;
    argv[n] = nullptr;

    // The simulator prints its device path; the tests go by the link instead.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    int err = posix_spawn(&sim->pid, executable, &actions, nullptr, const_cast<char* const*>(argv),
                          environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) {
        sim->pid = -1;
        removeDirectory(sim);
        return false;
    }
    uint64_t deadline = monotonicMs() + timeoutMs;
    while (!linkReady(sim->linkPath)) {
        if (reap(sim, false) || monotonicMs() > deadline) {
            stopSim(sim);
            return false;
        }
        sleepMs(POLL_STEP_MS);
    }
    return true;
}

bool waitSimExit(SimProcess* sim, uint32_t timeoutMs) {
    if (sim->pid < 0)
        return true;
    uint64_t deadline = monotonicMs() + timeoutMs;
    while (!reap(sim, false)) {
        if (monotonicMs() > deadline)
            return false;
        sleepMs(POLL_STEP_MS);
    }
    return true;
}

bool stopSim(SimProcess* sim, uint32_t timeoutMs) {
    if (sim->pid < 0) {
        removeDirectory(sim);
        return true;
    }
    if (!sim->exited)
        kill(sim->pid, SIGTERM);
    bool ended = waitSimExit(sim, timeoutMs);
    if (!ended) {
        kill(sim->pid, SIGKILL);
        reap(sim, true);
    }
    bool clean = ended && WIFEXITED(sim->exitStatus) && WEXITSTATUS(sim->exitStatus) == 0;
    sim->pid = -1;
    removeDirectory(sim);
    return clean;
}
