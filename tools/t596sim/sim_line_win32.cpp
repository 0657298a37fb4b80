// The simulator's line on Windows: a COM port the user names, the PC on its
// other end through a null-modem cable or a virtual COM-port pair. The port is
// opened for overlapped I/O, so that one wait covers a byte from the PC, a
// write the line is still taking, and Ctrl-C.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/whole_number.h"
#include "platform/error_text.h"
#include "platform/serial_ports.h"
#include "tools/common/tool_command_line.h"
#include "tools/t596sim/sim_line.h"

extern const char SIM_LINE_USAGE_INTRO[] =
    "A simulated T596 power data logger on a COM port, for korvex.exe on the\n"
    "other end of a null-modem cable or a virtual COM-port pair. Prints the\n"
    "port, then serves the protocol until Ctrl-C or Ctrl-Break.\n";
extern const char SIM_LINE_USAGE_PLACE[] =
    "  --port COMn|DEVICE\n"
    "                    the COM port to serve, e.g. COM2 or \\\\.\\COM10; opened\n"
    "                    at 57,600 baud, 8N1, no flow control (required)\n";

namespace {

constexpr uint64_t COM_PORT_LAST = 256;
constexpr size_t PATH_SIZE = 512;
// Room in the driver for the device's whole output buffer.
constexpr DWORD QUEUE_SIZE = 2048;
constexpr uint32_t WRITE_BUFFER_SIZE = 1024;
// How long closing waits for a write the line is still taking: a few times
// what the device ever hands over at once takes at 57,600 baud.
constexpr DWORD CLOSE_DRAIN_MS = 1000;

HANDLE stopEvent = nullptr;

// The port and its two operations. One one-byte read is kept waiting for the
// PC (a read with no time-outs completes only once its byte is there); the
// bytes of a write stay in writeBuffer until the line has taken them.
struct Line {
    HANDLE port = INVALID_HANDLE_VALUE;
    char shown[PATH_SIZE];
    HANDLE readEvent = nullptr;
    OVERLAPPED readOverlapped;
    bool readPending = false;
    bool byteHeld = false;
    uint8_t readByte = 0;
    HANDLE writeEvent = nullptr;
    OVERLAPPED writeOverlapped;
    bool writePending = false;
    uint8_t writeBuffer[WRITE_BUFFER_SIZE];
};
Line line;

BOOL WINAPI onConsoleEvent(DWORD) {
    SetEvent(stopEvent);
    return TRUE;
}

// The number of COMn, letter case ignored; 0 for a device path.
int comNumber(const char* name, bool* valid) {
    *valid = true;
    if (_strnicmp(name, "COM", 3) != 0)
        return 0;
    uint64_t number = 0;
    *valid = parseWholeNumber(name + 3, COM_PORT_LAST, &number) && number >= 1;
    return static_cast<int>(number);
}

void reportSystemError(const char* what, DWORD error) {
    char reason[256];
    systemErrorText(static_cast<int>(error), reason, sizeof reason);
    toolError("%s %s: %s", what, line.shown, reason);
}

// No parity, one stop bit, DTR and RTS off, no flow control of any kind: every
// field the line does not name stays 0.
bool configure(HANDLE port) {
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = CBR_57600;
    dcb.fBinary = 1;
    dcb.ByteSize = 8;
    // All zero: a read completes once its byte is there, a write once the
    // driver has taken it.
    COMMTIMEOUTS timeouts{};
    return SetCommState(port, &dcb) && SetCommTimeouts(port, &timeouts) &&
           SetupComm(port, QUEUE_SIZE, QUEUE_SIZE);
}

// Issues the read that waits for the PC's next byte; a byte already there
// is held at once. False when the port refuses the read.
bool startRead() {
    line.readOverlapped = OVERLAPPED{};
    line.readOverlapped.hEvent = line.readEvent;
    DWORD got = 0;
    if (ReadFile(line.port, &line.readByte, 1, &got, &line.readOverlapped)) {
        line.byteHeld = got == 1;
        return true;
    }
    line.readPending = GetLastError() == ERROR_IO_PENDING;
    return line.readPending;
}

void finishRead(SimLineReady* ready) {
    DWORD got = 0;
    if (GetOverlappedResult(line.port, &line.readOverlapped, &got, FALSE)) {
        line.readPending = false;
        line.byteHeld = got == 1;
        ready->readable = line.byteHeld;
        ready->hungUp = !line.byteHeld;
    } else if (GetLastError() == ERROR_IO_INCOMPLETE) {
        ResetEvent(line.readEvent); // not done after all: wait again, not spin
    } else {
        line.readPending = false;
        ready->hungUp = true;
    }
}

void finishWrite(bool wantWrite, SimLineReady* ready) {
    DWORD wrote = 0;
    if (GetOverlappedResult(line.port, &line.writeOverlapped, &wrote, FALSE)) {
        // Bytes the line did not take are lost, as on a real line.
        line.writePending = false;
        ready->writable = wantWrite;
    } else if (GetLastError() == ERROR_IO_INCOMPLETE) {
        ResetEvent(line.writeEvent);
    } else {
        line.writePending = false;
        ready->hungUp = true;
    }
}

// The system writes into an operation's record until it is done, so a
// cancelled one is waited for before the record goes.
void finishCancelled(bool pending, OVERLAPPED* overlapped) {
    DWORD moved = 0;
    if (pending)
        GetOverlappedResult(line.port, overlapped, &moved, TRUE);
}

} // namespace

int simLinePlaceRefused(const SimLinePlace& place) {
    if (place.linkPath != nullptr || place.ttyPath != nullptr)
        return toolUsageError("%s is for a pseudo-terminal or tty, which the Linux simulator "
                              "serves; here name a COM port with --port COMn",
                              place.linkPath != nullptr ? "--link" : "--tty");
    if (place.port == nullptr)
        return toolUsageError("name the COM port to serve with --port COMn");
    bool valid = true;
    comNumber(place.port, &valid);
    if (!valid || place.port[0] == '\0' || std::strlen(place.port) >= PATH_SIZE)
        return toolUsageError("--port takes COM1..COM%llu or a device path such as \\\\.\\COM10, "
                              "not '%s'",
                              static_cast<unsigned long long>(COM_PORT_LAST), place.port);
    return 0;
}

void simLineCatchTermination() {
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool simLineTerminationRequested() {
    return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

bool simLineOpen(const SimLinePlace& place, char* shown, uint32_t size) {
    bool valid = true;
    const int number = comNumber(place.port, &valid);
    char path[PATH_SIZE];
    if (number > 0) {
        resolveSerialPort(number, path, sizeof path);
        std::snprintf(line.shown, sizeof line.shown, "COM%d", number);
    } else {
        std::snprintf(path, sizeof path, "%s", place.port);
        std::snprintf(line.shown, sizeof line.shown, "%s", place.port);
    }
    line.port = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
    if (line.port == INVALID_HANDLE_VALUE) {
        reportSystemError("cannot open", GetLastError());
        return false;
    }
    line.readEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    line.writeEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!configure(line.port) || line.readEvent == nullptr || line.writeEvent == nullptr) {
        reportSystemError("cannot set up", GetLastError());
        simLineClose();
        return false;
    }
    std::snprintf(shown, size, "%s", line.shown);
    return true;
}

void simLineClose() {
    if (line.port == INVALID_HANDLE_VALUE)
        return;
    // What the device handed over leaves before the port closes, unless the
    // line has stopped taking bytes.
    if (line.writePending)
        WaitForSingleObject(line.writeEvent, CLOSE_DRAIN_MS);
    CancelIo(line.port);
    finishCancelled(line.readPending, &line.readOverlapped);
    finishCancelled(line.writePending, &line.writeOverlapped);
    CloseHandle(line.port);
    if (line.readEvent != nullptr)
        CloseHandle(line.readEvent);
    if (line.writeEvent != nullptr)
        CloseHandle(line.writeEvent);
    line = Line{};
}

bool simLineWait(bool wantWrite, int timeoutMs, SimLineReady* ready) {
    *ready = SimLineReady{};
    if (!line.readPending && !line.byteHeld) {
        // A port that refuses reads, or ends them empty, has no PC on it.
        const bool issued = startRead();
        if (!issued || (!line.readPending && !line.byteHeld)) {
            ready->hungUp = true;
            return true;
        }
    }
    ready->readable = line.byteHeld;
    ready->writable = wantWrite && !line.writePending;
    if (ready->readable || ready->writable)
        return true;
    HANDLE waits[3] = {stopEvent, line.readEvent, line.writeEvent};
    const DWORD count = line.writePending ? 3 : 2;
    DWORD woke = WaitForMultipleObjects(count, waits, FALSE,
                                        timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (woke == WAIT_FAILED) {
        reportSystemError("cannot wait on", GetLastError());
        return false;
    }
    if (woke == WAIT_OBJECT_0 + 1)
        finishRead(ready);
    else if (woke == WAIT_OBJECT_0 + 2)
        finishWrite(wantWrite, ready);
    return true;
}

int simLineRead(uint8_t* bytes, uint32_t size) {
    uint32_t count = 0;
    // Bytes already there complete their reads at once; the first that has
    // to wait stays pending for the next byte.
    while (count < size && line.byteHeld) {
        bytes[count++] = line.readByte;
        line.byteHeld = false;
        if (!startRead())
            break; // the next wait finds the port failing
    }
    return static_cast<int>(count);
}

int simLineWrite(const uint8_t* bytes, uint32_t count) {
    if (line.writePending)
        return 0;
    if (count > WRITE_BUFFER_SIZE)
        count = WRITE_BUFFER_SIZE;
    std::memcpy(line.writeBuffer, bytes, count);
    line.writeOverlapped = OVERLAPPED{};
    line.writeOverlapped.hEvent = line.writeEvent;
    DWORD wrote = 0;
    if (WriteFile(line.port, line.writeBuffer, count, &wrote, &line.writeOverlapped))
        return static_cast<int>(wrote);
    if (GetLastError() != ERROR_IO_PENDING)
        return -1;
    line.writePending = true;
    return static_cast<int>(count);
}

void simLinePause(uint32_t ms) {
    WaitForSingleObject(stopEvent, ms);
}
