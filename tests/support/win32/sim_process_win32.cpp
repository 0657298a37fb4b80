// The simulated T596 for the Windows build's benchmarks, under Wine. The
// simulator is a Linux program, which Wine starts in place of a Windows one
// but without a process handle: the simulator therefore writes its process id
// to a file, is watched through /proc and is ended with kill(1). Its link is
// the one the Wine prefix maps as COMn (the directory KORVEX_WINE_PORTS), so
// linkPath is the Windows device \\.\COMn.
#include "tests/support/sim_process.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/serial_ports.h"

namespace {

constexpr uint32_t POLL_STEP_MS = 5;
bool portInUse[SERIAL_PORT_LAST + 1];

// Unix paths as Wine's drive Z: shows them.
std::string fromUnix(const std::string& path) {
    return "Z:" + path;
}

// By its directory entry: the system's attributes of a link to a terminal
// are none that Wine can give.
bool unixFileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(fromUnix(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// Runs a Linux program; nothing to wait for.
bool runUnix(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    return true;
}

std::string portLink(int port) {
    const char* ports = std::getenv("KORVEX_WINE_PORTS");
    return std::string(ports != nullptr ? ports : "") + "/port" + std::to_string(port);
}

std::string pidFile(int port) {
    const char* ports = std::getenv("KORVEX_WINE_PORTS");
    return std::string(ports != nullptr ? ports : "") + "/sim" + std::to_string(port) + ".pid";
}

int portOf(const SimProcess* sim) {
    int port = 0;
    std::sscanf(sim->linkPath, "\\\\.\\COM%d", &port);
    return port;
}

// The start of a small Linux file, as text; empty when it cannot be read.
std::string readUnixFile(const std::string& path) {
    HANDLE file = CreateFileA(fromUnix(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    char buffer[256];
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr))
        got = 0;
    CloseHandle(file);
    return std::string(buffer, got);
}

pid_t readPid(int port) {
    std::string text = readUnixFile(pidFile(port));
    int pid = -1;
    return std::sscanf(text.c_str(), "%d", &pid) == 1 ? pid : -1;
}

// Gone, or a zombie that nobody reaps.
bool processEnded(pid_t pid) {
    std::string stat = readUnixFile("/proc/" + std::to_string(pid) + "/stat");
    size_t name = stat.rfind(')');
    if (name == std::string::npos || name + 2 >= stat.size())
        return true;
    char state = stat[name + 2];
    return state == 'Z' || state == 'X';
}

void signalSim(const SimProcess* sim, const char* signal) {
    runUnix("/bin/kill -" + std::string(signal) + " " + std::to_string(sim->pid));
}

void release(SimProcess* sim) {
    int port = portOf(sim);
    if (port >= SERIAL_PORT_FIRST && port <= SERIAL_PORT_LAST) {
        DeleteFileA(fromUnix(pidFile(port)).c_str());
        portInUse[port] = false;
    }
    sim->pid = -1;
}

} // namespace

bool startSimAt(const char* executable, SimProcess* sim,
                std::initializer_list<const char*> arguments, uint32_t timeoutMs) {
    *sim = SimProcess{};
    if (std::getenv("KORVEX_WINE_PORTS") == nullptr) {
        std::fprintf(stderr, "KORVEX_WINE_PORTS names no directory of the prefix's port links\n");
        return false;
    }
    int port = SERIAL_PORT_FIRST;
    while (port <= SERIAL_PORT_LAST && portInUse[port])
        ++port;
    if (port > SERIAL_PORT_LAST)
        return false;
    std::string link = portLink(port);
    DeleteFileA(fromUnix(link).c_str());
    DeleteFileA(fromUnix(pidFile(port)).c_str());
    std::string script = "echo $$ >" + quoted(pidFile(port)) + "; exec " + quoted(executable);
    for (const char* argument : arguments)
        script += " " + quoted(argument);
    script += " --link " + quoted(link) + " >/dev/null";
    if (!runUnix("/bin/sh -c \"" + script + "\""))
        return false;
    portInUse[port] = true;
    std::snprintf(sim->linkPath, sizeof sim->linkPath, "\\\\.\\COM%d", port);
    uint64_t deadline = monotonicMs() + timeoutMs;
    // The process id is read once the link is there: the shell wrote it
    // before it became the simulator.
    for (;;) {
        if (unixFileExists(link)) {
            sim->pid = readPid(port);
            return sim->pid > 0;
        }
        if (monotonicMs() > deadline) {
            stopSim(sim);
            return false;
        }
        sleepMs(POLL_STEP_MS);
    }
}

bool waitSimExit(SimProcess* sim, uint32_t timeoutMs) {
    if (sim->pid < 0 || sim->exited)
        return true;
    uint64_t deadline = monotonicMs() + timeoutMs;
    while (!processEnded(sim->pid)) {
        if (monotonicMs() > deadline)
            return false;
        sleepMs(POLL_STEP_MS);
    }
    sim->exited = true;
    return true;
}

bool stopSim(SimProcess* sim, uint32_t timeoutMs) {
    if (sim->pid < 0) {
        release(sim);
        return true;
    }
    if (!sim->exited)
        signalSim(sim, "TERM");
    bool ended = waitSimExit(sim, timeoutMs);
    if (!ended) {
        signalSim(sim, "KILL");
        waitSimExit(sim, timeoutMs);
        DeleteFileA(fromUnix(portLink(portOf(sim))).c_str());
    }
    release(sim);
    return ended;
}
