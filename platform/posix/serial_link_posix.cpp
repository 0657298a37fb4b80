// The serial link on termios. Each I/O thread sleeps in poll() on the port and
// its own stop descriptor, so closing never waits for a byte that will not
// come, and a port that goes away (a USB adapter pulled out, a simulator that
// closed its pseudo-terminal) leaves the reader asleep instead of spinning.
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"

namespace {

// Every read asks for one byte, so the engine sees bytes one call each.
constexpr size_t READ_CHUNK = 1;
// How long a thread rests after poll() itself failed, so a failing poll
// cannot turn into a busy loop.
constexpr uint32_t POLL_FAILURE_PAUSE_MS = 10;
constexpr size_t PORT_PATH_SIZE = 256;

struct LinkState {
    int portFd = -1;
    int readerStopFd = -1;
    int writerStopFd = -1;
    int txWakeFd = -1;
    pthread_t readerThread{};
    pthread_t writerThread{};
    bool readerStarted = false;
    bool writerStarted = false;
};
LinkState linkState;
// Lets the reader leave a burst of incoming bytes without a poll per byte.
std::atomic<bool> readerStopRequested{false};
// Set by the reader once the port has ended; read by the user-interface thread.
std::atomic<bool> deviceGone{false};
// Bytes the reader has taken from the port, and those it has been through
// the receive path with; the difference is at most the one in hand.
std::atomic<uint64_t> bytesTaken{0};
std::atomic<uint64_t> bytesHandled{0};
int lastOpenError;

void signalFd(int fd) {
    uint64_t one = 1;
    while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void consumeSignal(int fd) {
    uint64_t value;
    while (read(fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

// Retries interrupted polls; a poll that fails otherwise pauses briefly and
// reports nothing ready.
int pollWaiting(pollfd* fds, nfds_t count, int timeoutMs) {
    for (;;) {
        int ready = poll(fds, count, timeoutMs);
        if (ready >= 0)
            return ready;
        if (errno == EINTR)
            continue;
        for (nfds_t i = 0; i < count; ++i)
            fds[i].revents = 0;
        sleepMs(POLL_FAILURE_PAUSE_MS);
        return 0;
    }
}

void waitForStop(int stopFd) {
    pollfd stop{stopFd, POLLIN, 0};
    while ((stop.revents & POLLIN) == 0)
        pollWaiting(&stop, 1, -1);
}

// Reads every byte available now, one per call. Returns false once the port
// has failed for good.
bool readAvailable(int portFd) {
    uint8_t byte;
    while (!readerStopRequested.load(std::memory_order_relaxed)) {
        ssize_t got = read(portFd, &byte, READ_CHUNK);
        if (got == static_cast<ssize_t>(READ_CHUNK)) {
            bytesTaken.fetch_add(1, std::memory_order_release);
            receiveBytes(&byte, READ_CHUNK);
            bytesHandled.fetch_add(1, std::memory_order_release);
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return true;
        // End of file or a hard error: the device is gone.
        return false;
    }
    return true;
}

void* readerMain(void*) {
    pollfd fds[2] = {{linkState.readerStopFd, POLLIN, 0}, {linkState.portFd, POLLIN, 0}};
    for (;;) {
        pollWaiting(fds, 2, -1);
        if (fds[0].revents & POLLIN)
            return nullptr;
        short port = fds[1].revents;
        bool alive = true;
        if (port & POLLIN)
            alive = readAvailable(linkState.portFd);
        else if (port & (POLLHUP | POLLERR | POLLNVAL))
            alive = false;
        if (!alive) {
            // Nothing more will come until the link is closed and reopened.
            deviceGone.store(true, std::memory_order_release);
            waitForStop(linkState.readerStopFd);
            return nullptr;
        }
    }
}

// Writes all of bytes unless the stop comes first. Returns true on the stop,
// after discarding what the driver still holds; bytes that cannot be written
// are dropped.
bool writeAll(const uint8_t* bytes, uint32_t count) {
    uint32_t done = 0;
    while (done < count) {
        ssize_t wrote = write(linkState.portFd, bytes + done, count - done);
        if (wrote > 0) {
            done += static_cast<uint32_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote == 0 || errno != EAGAIN)
            return false;
        pollfd fds[2] = {{linkState.writerStopFd, POLLIN, 0}, {linkState.portFd, POLLOUT, 0}};
        pollWaiting(fds, 2, -1);
        if (fds[0].revents & POLLIN) {
            tcflush(linkState.portFd, TCOFLUSH);
            return true;
        }
        if ((fds[1].revents & POLLOUT) == 0 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)))
            return false;
    }
    return false;
}

// Returns true when the writer must end.
bool drainTxRing() {
    uint8_t buffer[TX_RING_SIZE];
    for (;;) {
        uint32_t count = txRingTake(buffer);
        if (count == 0)
            return false;
        if (writeAll(buffer, count))
            return true;
    }
}

void* writerMain(void*) {
    pollfd fds[2] = {{linkState.writerStopFd, POLLIN, 0}, {linkState.txWakeFd, POLLIN, 0}};
    for (;;) {
        pollWaiting(fds, 2, -1);
        if (fds[0].revents & POLLIN)
            return nullptr;
        if (fds[1].revents & POLLIN) {
            // Consumed before the ring is read, so bytes put during the drain
            // wake the writer once more.
            consumeSignal(linkState.txWakeFd);
            if (drainTxRing())
                return nullptr;
        }
    }
}

speed_t speedFor(uint32_t baud) {
    switch (baud) {
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

// 8N1, raw, no flow control of any kind, DTR and RTS off. Returns 0 or the
// system error number.
int configurePort(int fd, uint32_t baud) {
    speed_t speed = speedFor(baud);
    if (speed == B0)
        return EINVAL;
    termios tio;
    if (tcgetattr(fd, &tio) != 0)
        return errno;
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // Readiness comes from poll(); a read takes whatever single byte is there.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0)
        return errno;
    if (tcsetattr(fd, TCSANOW, &tio) != 0)
        return errno;
    // tcsetattr succeeds when any part applied; the speed must have.
    termios applied;
    if (tcgetattr(fd, &applied) != 0)
        return errno;
    if (cfgetospeed(&applied) != speed)
        return EINVAL;
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(fd, TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL)
        return errno;
    return 0;
}

// Returns the descriptor, or -1 with the reason in *error.
int openPort(const char* path, uint32_t baud, int* error) {
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    // The advisory lock stops every cooperating program, root included;
    // TIOCEXCL also stops programs that do not lock. Another holder reads as
    // a busy device, whichever of the two found it.
    if (!isatty(fd))
        *error = ENOTTY;
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        *error = errno == EWOULDBLOCK ? EBUSY : errno;
    else if (ioctl(fd, TIOCEXCL) != 0)
        *error = errno;
    else
        *error = configurePort(fd, baud);
    if (*error != 0) {
        ioctl(fd, TIOCNXCL);
        close(fd);
        return -1;
    }
    return fd;
}

void closeFd(int* fd) {
    if (*fd >= 0)
        close(*fd);
    *fd = -1;
}

void releaseLink() {
    readerStopRequested.store(true, std::memory_order_relaxed);
    if (linkState.readerStarted) {
        signalFd(linkState.readerStopFd);
        pthread_join(linkState.readerThread, nullptr);
    }
    if (linkState.writerStarted) {
        signalFd(linkState.writerStopFd);
        pthread_join(linkState.writerThread, nullptr);
    }
    if (linkState.portFd >= 0)
        ioctl(linkState.portFd, TIOCNXCL); // the pseudo-terminal keeps the flag past our close
    closeFd(&linkState.portFd);
    closeFd(&linkState.readerStopFd);
    closeFd(&linkState.writerStopFd);
    closeFd(&linkState.txWakeFd);
    linkState = LinkState{};
    deviceGone.store(false, std::memory_order_relaxed);
}

} // namespace

bool openLinkDevice(const char* path, uint32_t baud) {
    if (linkIsOpen()) {
        lastOpenError = EBUSY;
        return false;
    }
    readerStopRequested.store(false, std::memory_order_relaxed);
    linkState.portFd = openPort(path, baud, &lastOpenError);
    if (linkState.portFd < 0) {
        releaseLink();
        return false;
    }
    linkState.readerStopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    linkState.writerStopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    linkState.txWakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (linkState.readerStopFd < 0 || linkState.writerStopFd < 0 || linkState.txWakeFd < 0) {
        lastOpenError = errno;
        releaseLink();
        return false;
    }
    int failed = pthread_create(&linkState.readerThread, nullptr, readerMain, nullptr);
    linkState.readerStarted = failed == 0;
    if (linkState.readerStarted) {
        failed = pthread_create(&linkState.writerThread, nullptr, writerMain, nullptr);
        linkState.writerStarted = failed == 0;
    }
    if (!linkState.writerStarted) {
        lastOpenError = failed;
        releaseLink();
        return false;
    }
    return true;
}

bool openLink(int port, uint32_t baud) {
    char path[PORT_PATH_SIZE];
    lastOpenError = resolveSerialPort(port, path, sizeof path);
    if (lastOpenError != 0)
        return false;
    return openLinkDevice(path, baud);
}

void closeLink() {
    if (linkIsOpen())
        releaseLink();
}

bool linkIsOpen() {
    return linkState.portFd >= 0;
}

bool linkDeviceGone() {
    return deviceGone.load(std::memory_order_acquire);
}

int linkOpenError() {
    return lastOpenError;
}

void linkWakeWriter() {
    if (linkState.txWakeFd >= 0)
        signalFd(linkState.txWakeFd);
}

uint64_t linkBytesArrived() {
    if (!linkIsOpen())
        return bytesTaken.load(std::memory_order_acquire);
    // What the port holds is counted while the reader takes nothing, so that
    // each byte is either taken or queued, never both or neither.
    for (;;) {
        uint64_t taken = bytesTaken.load(std::memory_order_acquire);
        int queued = 0;
        if (ioctl(linkState.portFd, FIONREAD, &queued) != 0)
            queued = 0;
        if (bytesTaken.load(std::memory_order_acquire) == taken)
            return taken + uint64_t(queued > 0 ? queued : 0);
    }
}

uint64_t linkBytesHandled() {
    return bytesHandled.load(std::memory_order_acquire);
}
