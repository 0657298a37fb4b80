// The serial link on Win32: the COM device opened for overlapped I/O, a reader
// thread that keeps one one-byte read pending and a writer thread that sleeps
// until the transmit ring has bytes. Each thread waits on its own stop event
// beside its I/O, so closing never waits for a byte that will not come. An
// abandoned read or write is cancelled and waited for before its OVERLAPPED
// record and event go, since the system writes into them until it is done.
#include <windows.h>

#include <atomic>
#include <cstring>

#include "platform/serial_link.h"
#include "platform/serial_ports.h"

namespace {

// Every read asks for one byte, so the engine sees bytes one call each.
constexpr DWORD READ_CHUNK = 1;
// How long the reader rests after a read that failed at once or delivered
// nothing, so that a port which fails every read cannot spin the processor.
constexpr DWORD FAILED_READ_PAUSE_MS = 20;
// Reads that keep failing this long, without a byte between them, mean that
// the device has gone away (a USB adapter pulled out).
constexpr uint64_t GONE_AFTER_FAILING_MS = 1000;
constexpr size_t PORT_PATH_SIZE = 64;

static_assert(sizeof(DCB) == 28, "the DCB of the line settings");

struct LinkState {
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE readerStopEvent = nullptr;
    HANDLE writerStopEvent = nullptr;
    HANDLE txEvent = nullptr;
    HANDLE readerThread = nullptr;
    HANDLE writerThread = nullptr;
    DWORD readerThreadId = 0;
    DWORD writerThreadId = 0;
};
LinkState linkState;
std::atomic<bool> deviceGone{false};
int lastOpenError = 0;
// Bytes the reader has taken from the port, and those it has been through
// the receive path with; and its one-byte read, which may have completed
// with a byte not yet taken.
std::atomic<uint64_t> bytesTaken{0};
std::atomic<uint64_t> bytesHandled{0};
std::atomic<bool> readIssued{false};
std::atomic<HANDLE> readCompletion{nullptr};

// The byte of a completed read through the receive path, counted.
void takeByte(uint8_t byte) {
    bytesTaken.fetch_add(1, std::memory_order_release);
    readIssued.store(false, std::memory_order_release);
    receiveBytes(&byte, 1);
    bytesHandled.fetch_add(1, std::memory_order_release);
}

// 57,600 baud 8N1: every other field stays 0, which means no parity, one stop
// bit, DTR and RTS off, and no flow control or error handling of any kind.
void fillDcb(DCB* dcb, uint32_t baud) {
    std::memset(dcb, 0, sizeof *dcb);
    dcb->DCBlength = sizeof *dcb;
    dcb->BaudRate = baud;
    dcb->fBinary = 1;
    dcb->fTXContinueOnXoff = 1;
    dcb->ByteSize = 8;
}

HANDLE openPort(const char* path, uint32_t baud) {
    HANDLE port = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        lastOpenError = int(GetLastError());
        return port;
    }
    DCB dcb;
    fillDcb(&dcb, baud);
    // All zero: no time-outs, a read completes only once its byte is there.
    COMMTIMEOUTS timeouts{};
    if (!SetCommState(port, &dcb) || !SetCommTimeouts(port, &timeouts) ||
        !SetupComm(port, LINK_QUEUE_SIZE, LINK_QUEUE_SIZE)) {
        lastOpenError = int(GetLastError());
        CloseHandle(port);
        return INVALID_HANDLE_VALUE;
    }
    return port;
}

// Waits until the system has finished with an operation that was cancelled,
// or that completed while the stop was being seen.
void finishCancelled(OVERLAPPED* overlapped) {
    CancelIo(linkState.port);
    DWORD moved = 0;
    GetOverlappedResult(linkState.port, overlapped, &moved, TRUE);
}

// After a read that failed at once or delivered nothing: notes how long the
// reads have been failing, then rests before the next one. Returns true as
// soon as the stop comes.
bool pauseUnlessStopped(uint64_t* failingSince) {
    readIssued.store(false, std::memory_order_release);
    uint64_t now = GetTickCount64();
    if (*failingSince == 0)
        *failingSince = now;
    else if (now - *failingSince >= GONE_AFTER_FAILING_MS)
        deviceGone.store(true, std::memory_order_release);
    return WaitForSingleObject(linkState.readerStopEvent, FAILED_READ_PAUSE_MS) != WAIT_TIMEOUT;
}

DWORD WINAPI readerMain(void*) {
    HANDLE readEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (readEvent == nullptr) {
        // Nothing can be read; the thread only waits to be stopped.
        WaitForSingleObject(linkState.readerStopEvent, INFINITE);
        return 0;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = readEvent;
    readCompletion.store(readEvent, std::memory_order_release);
    uint8_t byte = 0;
    bool pending = false;
    uint64_t failingSince = 0;
    const HANDLE waits[2] = {linkState.readerStopEvent, readEvent};
    for (;;) {
        if (!pending) {
            DWORD got = 0;
            readIssued.store(true, std::memory_order_release);
            if (ReadFile(linkState.port, &byte, READ_CHUNK, &got, &overlapped)) {
                if (got == READ_CHUNK) {
                    failingSince = 0;
                    takeByte(byte);
                    continue;
                }
                // A read that completes with nothing (a line that hung up)
                // would otherwise be issued again and again at once.
                if (pauseUnlessStopped(&failingSince))
                    break;
                continue;
            }
            if (GetLastError() != ERROR_IO_PENDING) {
                if (pauseUnlessStopped(&failingSince))
                    break;
                continue;
            }
            pending = true;
        }
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED)
            break;
        if (woke != WAIT_OBJECT_0 + 1)
            continue;
        DWORD got = 0;
        // The next ReadFile resets the read event as it starts, so it is not
        // reset here: under Wine every one-byte read goes pending, and each
        // call to the server saved per byte is felt.
        if (GetOverlappedResult(linkState.port, &overlapped, &got, FALSE)) {
            pending = false;
            if (got == READ_CHUNK) {
                failingSince = 0;
                takeByte(byte);
            } else if (pauseUnlessStopped(&failingSince)) {
                break;
            }
            continue;
        }
        bool stillRunning = GetLastError() == ERROR_IO_INCOMPLETE;
        ResetEvent(readEvent);
        if (stillRunning)
            continue;
        // A failed completion ends reception until the link is closed: the
        // device is gone.
        pending = false;
        deviceGone.store(true, std::memory_order_release);
        WaitForSingleObject(linkState.readerStopEvent, INFINITE);
        break;
    }
    if (pending)
        finishCancelled(&overlapped);
    readIssued.store(false, std::memory_order_release);
    readCompletion.store(nullptr, std::memory_order_release);
    CloseHandle(readEvent);
    return 0;
}

enum class WriteEnd { Written, Lost, Stopped };

// Waits for a pending write, or for the stop, which cancels it and purges the
// transmit queue.
WriteEnd awaitWrite(OVERLAPPED* overlapped, DWORD count) {
    HANDLE waits[2] = {linkState.writerStopEvent, overlapped->hEvent};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) {
            PurgeComm(linkState.port, PURGE_TXABORT | PURGE_TXCLEAR);
            finishCancelled(overlapped);
            return WriteEnd::Stopped;
        }
        if (woke != WAIT_OBJECT_0 + 1)
            continue;
        DWORD written = 0;
        if (GetOverlappedResult(linkState.port, overlapped, &written, FALSE))
            return written == count ? WriteEnd::Written : WriteEnd::Lost;
        // Still running: the record must stay until the system is done with it.
        if (GetLastError() == ERROR_IO_INCOMPLETE)
            continue;
        DWORD errors = 0;
        ClearCommError(linkState.port, &errors, nullptr);
        return WriteEnd::Lost;
    }
}

// Returns true when the writer must end. Bytes that cannot be written are
// dropped: the protocol's time-outs are what the user sees.
bool drainTxRing() {
    HANDLE writeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (writeEvent == nullptr)
        return false; // the bytes stay in the ring for the next wake-up
    uint8_t buffer[TX_RING_SIZE];
    bool stop = false;
    for (;;) {
        uint32_t count = txRingTake(buffer);
        if (count == 0)
            break;
        OVERLAPPED overlapped{};
        overlapped.hEvent = writeEvent;
        DWORD written = 0;
        if (WriteFile(linkState.port, buffer, count, &written, &overlapped)) {
            if (written == count)
                continue;
            break;
        }
        if (GetLastError() != ERROR_IO_PENDING)
            break;
        // Bytes put while this write was pending set txEvent again, so the
        // writer comes back for them.
        WriteEnd end = awaitWrite(&overlapped, count);
        stop = end == WriteEnd::Stopped;
        break;
    }
    CloseHandle(writeEvent);
    return stop;
}

DWORD WINAPI writerMain(void*) {
    HANDLE waits[2] = {linkState.writerStopEvent, linkState.txEvent};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED)
            return 0;
        if (woke != WAIT_OBJECT_0 + 1)
            continue;
        // Reset before the ring is read, so bytes put during the drain wake
        // the writer once more.
        ResetEvent(linkState.txEvent);
        if (drainTxRing())
            return 0;
    }
}

void closeIfOpen(HANDLE* handle) {
    if (*handle != nullptr)
        CloseHandle(*handle);
    *handle = nullptr;
}

// Stops and joins whichever threads exist, then lets go of every handle. A
// reader started without its writer is joined as well: its handles go next.
void releaseLink() {
    if (linkState.readerStopEvent != nullptr)
        SetEvent(linkState.readerStopEvent);
    if (linkState.writerStopEvent != nullptr)
        SetEvent(linkState.writerStopEvent);
    HANDLE threads[2];
    DWORD count = 0;
    if (linkState.readerThread != nullptr)
        threads[count++] = linkState.readerThread;
    if (linkState.writerThread != nullptr)
        threads[count++] = linkState.writerThread;
    if (count > 0)
        WaitForMultipleObjects(count, threads, TRUE, INFINITE);
    closeIfOpen(&linkState.readerStopEvent);
    closeIfOpen(&linkState.writerStopEvent);
    closeIfOpen(&linkState.txEvent);
    closeIfOpen(&linkState.readerThread);
    closeIfOpen(&linkState.writerThread);
    if (linkState.port != INVALID_HANDLE_VALUE)
        CloseHandle(linkState.port);
    linkState = LinkState{};
    deviceGone.store(false, std::memory_order_relaxed);
}

} // namespace

bool openLinkDevice(const char* path, uint32_t baud) {
    if (linkIsOpen()) {
        lastOpenError = ERROR_BUSY;
        return false;
    }
    lastOpenError = 0;
    linkState.port = openPort(path, baud);
    if (linkState.port == INVALID_HANDLE_VALUE) {
        releaseLink();
        return false;
    }
    linkState.readerStopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    linkState.writerStopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    linkState.txEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (linkState.readerStopEvent == nullptr || linkState.writerStopEvent == nullptr ||
        linkState.txEvent == nullptr) {
        lastOpenError = int(GetLastError());
        releaseLink();
        return false;
    }
    linkState.readerThread =
        CreateThread(nullptr, 0, readerMain, nullptr, 0, &linkState.readerThreadId);
    if (linkState.readerThread != nullptr)
        linkState.writerThread =
            CreateThread(nullptr, 0, writerMain, nullptr, 0, &linkState.writerThreadId);
    if (linkState.writerThread == nullptr) {
        lastOpenError = int(GetLastError());
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
    return linkState.port != INVALID_HANDLE_VALUE;
}

bool linkDeviceGone() {
    return deviceGone.load(std::memory_order_acquire);
}

int linkOpenError() {
    return lastOpenError;
}

void linkWakeWriter() {
    if (linkState.txEvent != nullptr)
        SetEvent(linkState.txEvent);
}

uint64_t linkBytesArrived() {
    if (!linkIsOpen())
        return bytesTaken.load(std::memory_order_acquire);
    // Counted while the reader takes nothing, so that each byte is either
    // taken, completed in the read or queued by the driver, and once only.
    for (;;) {
        uint64_t taken = bytesTaken.load(std::memory_order_acquire);
        COMSTAT status{};
        DWORD errors = 0;
        DWORD queued = ClearCommError(linkState.port, &errors, &status) ? status.cbInQue : 0;
        HANDLE completion = readCompletion.load(std::memory_order_acquire);
        bool completed = readIssued.load(std::memory_order_acquire) && completion != nullptr &&
                         WaitForSingleObject(completion, 0) == WAIT_OBJECT_0;
        if (bytesTaken.load(std::memory_order_acquire) == taken)
            return taken + queued + (completed ? 1 : 0);
    }
}

uint64_t linkBytesHandled() {
    return bytesHandled.load(std::memory_order_acquire);
}
