// The simulator's line on POSIX: the master of a new pseudo-terminal, whose
// slave the PC side opens, or a tty named on the command line, both raw at
// 57,600 baud; SIGTERM, SIGINT and SIGHUP end it.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/error_text.h"
#include "tools/common/tool_command_line.h"
#include "tools/t596sim/sim_line.h"

extern const char SIM_LINE_USAGE_INTRO[] =
    "A simulated T596 power data logger on a pseudo-terminal. Prints the\n"
    "device path the PC side opens, then serves the protocol until SIGTERM or\n"
    "SIGINT.\n";
extern const char SIM_LINE_USAGE_PLACE[] =
    "  --link PATH       make PATH a symbolic link to the pseudo-terminal\n"
    "                    (a stale link is replaced; removed on exit)\n"
    "  --tty DEVICE      serve on this tty (e.g. a real serial port) instead\n"
    "                    of a new pseudo-terminal\n";

namespace {

constexpr size_t PATH_SIZE = 4096;

volatile sig_atomic_t terminateRequested = 0;
sigset_t waitMask; // the mask in force only while waiting

// The line: its descriptor, the device the PC side opens, and the link made
// to it.
int lineFd = -1;
char devicePath[PATH_SIZE];
const char* linkPath = nullptr;

void onTerminate(int) {
    terminateRequested = 1;
}

int waitFor(pollfd* fd, nfds_t count, int timeoutMs) {
    timespec timeout{timeoutMs / 1000, static_cast<long>(timeoutMs % 1000) * 1000000L};
    return ppoll(fd, count, timeoutMs < 0 ? nullptr : &timeout, &waitMask);
}

bool makeRaw(int fd) {
    termios tio;
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, B57600);
    cfsetospeed(&tio, B57600);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

// Closes fd after a failure, keeping the failure's errno for the report.
int closeFailed(int fd) {
    int err = errno;
    close(fd);
    errno = err;
    return -1;
}

// A new pseudo-terminal; the slave's path goes to slavePath. The slave is
// opened once to set raw mode, then left to the PC side. -1 with errno set
// when that fails.
int openPseudoTerminal(char* slavePath, size_t size) {
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return -1;
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, slavePath, size) != 0)
        return closeFailed(master);
    int slave = open(slavePath, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return closeFailed(master);
    if (!makeRaw(slave) || !makeRaw(master)) {
        closeFailed(slave);
        return closeFailed(master);
    }
    close(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return master;
}

int openTty(const char* path) {
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    return makeRaw(fd) ? fd : closeFailed(fd);
}

// What makeLink returns when the name holds something other than a link.
constexpr int NOT_A_LINK = -1;

// Points path at target, replacing an old symbolic link but never a file.
// Returns 0, NOT_A_LINK or the system error number.
int makeLink(const char* path, const char* target) {
    char temporary[PATH_SIZE];
    int n = snprintf(temporary, sizeof temporary, "%s.t596sim-%d", path, getpid());
    if (n < 0 || static_cast<size_t>(n) >= sizeof temporary)
        return ENAMETOOLONG;
    unlink(temporary);
    if (symlink(target, temporary) != 0)
        return errno;
    char existing[PATH_SIZE];
    int err = 0;
    if (readlink(path, existing, sizeof existing) < 0 && errno != ENOENT)
        err = errno == EINVAL ? NOT_A_LINK : errno;
    else if (rename(temporary, path) != 0)
        err = errno;
    if (err != 0)
        unlink(temporary);
    return err;
}

// Removes the link only while it still points at this simulator's device.
void removeLink(const char* path, const char* target) {
    char existing[PATH_SIZE];
    ssize_t n = readlink(path, existing, sizeof existing - 1);
    if (n < 0)
        return;
    existing[n] = '\0';
    if (strcmp(existing, target) == 0)
        unlink(path);
}

} // namespace

int simLinePlaceRefused(const SimLinePlace& place) {
    if (place.port != nullptr)
        return toolUsageError("--port names a COM port, which the Windows simulator serves; "
                              "here name a tty with --tty, or none for a pseudo-terminal");
    return 0;
}

// The terminating signals stay blocked except inside ppoll(), so one that
// comes between a check of the flag and the wait still ends the wait.
void simLineCatchTermination() {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGHUP);
}

bool simLineTerminationRequested() {
    return terminateRequested != 0;
}

bool simLineOpen(const SimLinePlace& place, char* shown, uint32_t size) {
    if (place.ttyPath != nullptr) {
        snprintf(devicePath, sizeof devicePath, "%s", place.ttyPath);
        lineFd = openTty(place.ttyPath);
    } else {
        lineFd = openPseudoTerminal(devicePath, sizeof devicePath);
    }
    if (lineFd < 0) {
        char reason[256];
        systemErrorText(errno, reason, sizeof reason);
        toolError("cannot open %s: %s",
                  place.ttyPath != nullptr ? place.ttyPath : "a pseudo-terminal", reason);
        return false;
    }
    int linkError = place.linkPath != nullptr ? makeLink(place.linkPath, devicePath) : 0;
    if (linkError != 0) {
        char reason[256];
        if (linkError == NOT_A_LINK)
            snprintf(reason, sizeof reason, "it exists and is not a symbolic link; left alone");
        else
            systemErrorText(linkError, reason, sizeof reason);
        toolError("cannot make the link %s: %s", place.linkPath, reason);
        close(lineFd);
        lineFd = -1;
        return false;
    }
    linkPath = place.linkPath;
    snprintf(shown, size, "%s", devicePath);
    return true;
}

void simLineClose() {
    if (lineFd < 0)
        return;
    close(lineFd);
    lineFd = -1;
    if (linkPath != nullptr)
        removeLink(linkPath, devicePath);
}

bool simLineWait(bool wantWrite, int timeoutMs, SimLineReady* ready) {
    *ready = SimLineReady{};
    pollfd fd{lineFd, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0};
    if (waitFor(&fd, 1, timeoutMs) < 0) {
        if (errno == EINTR)
            return true;
        perror("t596sim: poll");
        return false;
    }
    ready->readable = (fd.revents & POLLIN) != 0;
    ready->writable = (fd.revents & POLLOUT) != 0;
    ready->hungUp = !ready->readable && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    return true;
}

int simLineRead(uint8_t* bytes, uint32_t size) {
    ssize_t got = read(lineFd, bytes, size);
    if (got > 0)
        return static_cast<int>(got);
    // The end of a pseudo-terminal's master is an error once its slave closes.
    return got < 0 && (errno == EAGAIN || errno == EINTR) ? 0 : -1;
}

int simLineWrite(const uint8_t* bytes, uint32_t count) {
    ssize_t wrote = write(lineFd, bytes, count);
    if (wrote >= 0)
        return static_cast<int>(wrote);
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

void simLinePause(uint32_t ms) {
    waitFor(nullptr, 0, static_cast<int>(ms));
}
