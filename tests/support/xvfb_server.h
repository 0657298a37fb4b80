// An X server of its own for a test or a benchmark: Xvfb on a free display
// (never a fixed number, others run at the same time), ended by its pid.
#pragma once
#include <cstdlib>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct XvfbServer {
    pid_t pid = -1;
    int readyFd = -1;    // stays open while the server runs
    std::string display; // ":N"
};

// Starts Xvfb with one screen of geometry "WIDTHxHEIGHTxDEPTH". Xvfb reports
// the display's number on a pipe, the number and the line end separately.
inline bool startXvfb(XvfbServer* server, const char* screen) {
    int ready[2];
    if (pipe(ready) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
               (char*)nullptr);
        _exit(127);
    }
    close(ready[1]);
    server->pid = pid;
    server->readyFd = ready[0];
    char number[16] = {};
    pollfd waiting = {ready[0], POLLIN, 0};
    if (pid > 0 && poll(&waiting, 1, 10000) == 1 && read(ready[0], number, sizeof number - 1) > 0) {
        // Appended, not ":" + ...: GCC 12 at -O3 warns falsely of overlap
        // (-Wrestrict) inside that operator.
        server->display = std::string(":").append(std::to_string(std::atoi(number)));
        return true;
    }
    return false;
}

inline void stopXvfb(XvfbServer* server) {
    if (server->pid > 0) {
        kill(server->pid, SIGTERM);
        waitpid(server->pid, nullptr, 0);
    }
    if (server->readyFd >= 0)
        close(server->readyFd);
    *server = XvfbServer{};
}
