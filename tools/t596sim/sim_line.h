// The line the simulated T596 serves, one implementation per system: on
// POSIX a new pseudo-terminal or a tty (sim_line_posix.cpp), on Windows a COM
// port (sim_line_win32.cpp). The device above it is the same everywhere; the
// line only moves bytes, waits, and hears when the simulator is told to end.
#pragma once
#include <cstdint>

// Where the line is, as the command line names it. The pseudo-terminal and
// the tty are the POSIX simulator's, the COM port the Windows one's.
struct SimLinePlace {
    const char* linkPath = nullptr; // --link: a symbolic link to the pseudo-terminal
    const char* ttyPath = nullptr;  // --tty: a tty to serve instead
    const char* port = nullptr;     // --port: the COM port to serve
};

// The usage's lines that differ by system: what the simulator serves and how
// it is ended, and the options that say where the line is.
extern const char SIM_LINE_USAGE_INTRO[];
extern const char SIM_LINE_USAGE_PLACE[];

// A usage error's exit code, after its line, for a place this system cannot
// serve or an incomplete one; 0 when the line can be opened there.
int simLinePlaceRefused(const SimLinePlace& place);

// From here on, the signals or console events that end the simulator (Ctrl-C
// and the like) end its waits instead of the process.
void simLineCatchTermination();
bool simLineTerminationRequested();

// Opens the line and writes where the PC side finds it into shown. False,
// after a line that names the place with the reason, when it cannot.
bool simLineOpen(const SimLinePlace& place, char* shown, uint32_t size);
void simLineClose();

struct SimLineReady {
    bool readable; // bytes from the PC wait
    bool writable; // the line takes bytes now
    bool hungUp;   // no PC on the line (it closed its end, or the port failed)
};
// Waits up to timeoutMs (-1: without a limit) for bytes from the PC, for the
// line to take bytes when wantWrite, for a hang-up or for the end. False,
// after a line that says why, when the wait itself fails.
bool simLineWait(bool wantWrite, int timeoutMs, SimLineReady* ready);
// The bytes the PC sent, up to size: their count, 0 when none wait, -1 when
// the PC has hung up.
int simLineRead(uint8_t* bytes, uint32_t size);
// Hands bytes to the line: how many it took, 0 when it takes none now, -1
// when the PC has hung up.
int simLineWrite(const uint8_t* bytes, uint32_t count);
// Rests for ms, or less when the end is requested.
void simLinePause(uint32_t ms);
