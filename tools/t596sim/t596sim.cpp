// t596sim: a T596 data logger on a pseudo-terminal, a tty or a COM port,
// speaking the device side of the protocol, for demonstrations and end-to-end
// tests. The device is the same on every system; its line is the system's
// (tools/t596sim/sim_line.h).
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/whole_number.h"
#include "data/time_base.h"
#include "link/device_codes.h"
#include "link/frame_codec.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "tools/common/tool_command_line.h"
#include "tools/t596sim/sim_line.h"
#include "tools/t596sim/sim_pattern.h"

extern const char TOOL_NAME[] = "t596sim";

namespace {

constexpr uint32_t LINE_BYTES_PER_SECOND = 5760; // 57,600 baud, 10 bits a byte
constexpr int HANGUP_PAUSE_MS = 20;
// Line pacing hands the port about this many milliseconds of bytes at a time,
// as a UART's FIFO would, rather than waking for every byte.
constexpr uint32_t PACE_SLICE_MS = 10;
constexpr uint32_t OUT_BUFFER_SIZE = 1024;
// Frames are generated only while fewer bytes wait, so a stop from the PC is
// answered soon rather than after a deep buffer.
constexpr uint32_t REFILL_BELOW = 256;
constexpr uint32_t MAX_COUNT = 0xFFFFFF; // three count bytes
constexpr uint32_t SHOWN_SIZE = 4096;

enum class Pattern { Load, Count };
enum class Pace { Line, None };

struct Options {
    SimLinePlace place;
    uint16_t interval = 10;
    Pattern pattern = Pattern::Load;
    Pace pace = Pace::Line;
    bool filler = false;
    double noise = 0.0;
    bool silent = false;
    bool noEcho = false;
    long echoCount = -1;
    long stopAfter = -1;
    long vanishAfter = -1;
    long surplus = 0;
    bool verbose = false;
};

const char USAGE_OPTIONS[] =
    "  --interval N      sample interval in hundredths of a second, 0..100\n"
    "                    (default 10)\n"
    "  --pattern load|count\n"
    "                    load: a daily load curve in percent with noise,\n"
    "                    event markers (201, 202) and gaps (255) (default);\n"
    "                    count: the k-th sample sent is k % 200\n"
    "  --pace line|none  line: the real line rate, 5,760 bytes/s (default);\n"
    "                    none: as fast as the PC takes the bytes\n"
    "  --filler          put 0xFF filler bytes between frames\n"
    "  --noise RATE      probability 0..1 per frame of corrupting one byte\n"
    "  --silent          answer nothing at all\n"
    "  --no-echo         do not echo the count codes\n"
    "  --echo-count N    echo the count N (0..16777215) instead of the one\n"
    "                    received, and send that many samples\n"
    "  --stop-after N    end a transfer after N samples by sending DEV_STOP\n"
    "  --vanish-after N  after N samples close the line and exit\n"
    "  --surplus N       after the samples of a transfer send N more that\n"
    "                    were not asked for\n"
    "  --verbose         report each request and transfer on stderr\n"
    "  --help, --version print this, or the version, and exit\n";

void printUsage() {
    printf("Usage: %s [options]\n%s\n%s%s", TOOL_NAME, SIM_LINE_USAGE_INTRO, SIM_LINE_USAGE_PLACE,
           USAGE_OPTIONS);
}

// Returns -1 when the simulator should run, else the exit code.
int parseOptions(int argc, char** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (answerInformationOption(arg, printUsage))
            return TOOL_EXIT_OK;
        bool takesValue = strcmp(arg, "--link") == 0 || strcmp(arg, "--tty") == 0 ||
                          strcmp(arg, "--port") == 0 || strcmp(arg, "--interval") == 0 ||
                          strcmp(arg, "--pattern") == 0 || strcmp(arg, "--pace") == 0 ||
                          strcmp(arg, "--noise") == 0 || strcmp(arg, "--echo-count") == 0 ||
                          strcmp(arg, "--stop-after") == 0 || strcmp(arg, "--vanish-after") == 0 ||
                          strcmp(arg, "--surplus") == 0;
        if (!takesValue) {
            if (strcmp(arg, "--filler") == 0)
                o->filler = true;
            else if (strcmp(arg, "--silent") == 0)
                o->silent = true;
            else if (strcmp(arg, "--no-echo") == 0)
                o->noEcho = true;
            else if (strcmp(arg, "--verbose") == 0)
                o->verbose = true;
            else
                return toolUsageError("unknown option: %s", arg);
            continue;
        }
        if (i + 1 >= argc)
            return toolUsageError("missing value after %s", arg);
        const char* value = argv[++i];
        uint64_t number = 0;
        if (strcmp(arg, "--link") == 0) {
            o->place.linkPath = value;
        } else if (strcmp(arg, "--tty") == 0) {
            o->place.ttyPath = value;
        } else if (strcmp(arg, "--port") == 0) {
            o->place.port = value;
        } else if (strcmp(arg, "--interval") == 0) {
            if (!parseWholeNumber(value, 100, &number))
                return toolUsageError("--interval takes 0..100 (hundredths of a second), not '%s'",
                                      value);
            o->interval = static_cast<uint16_t>(number);
        } else if (strcmp(arg, "--pattern") == 0) {
            if (strcmp(value, "load") == 0)
                o->pattern = Pattern::Load;
            else if (strcmp(value, "count") == 0)
                o->pattern = Pattern::Count;
            else
                return toolUsageError("--pattern takes load or count, not '%s'", value);
        } else if (strcmp(arg, "--pace") == 0) {
            if (strcmp(value, "line") == 0)
                o->pace = Pace::Line;
            else if (strcmp(value, "none") == 0)
                o->pace = Pace::None;
            else
                return toolUsageError("--pace takes line or none, not '%s'", value);
        } else if (strcmp(arg, "--noise") == 0) {
            char* end = nullptr;
            double rate = strtod(value, &end);
            if (*value == '\0' || *end != '\0' || !(rate >= 0.0 && rate <= 1.0))
                return toolUsageError("--noise takes a probability 0..1, not '%s'", value);
            o->noise = rate;
        } else {
            const bool count = strcmp(arg, "--echo-count") == 0;
            if (!parseWholeNumber(value, count ? MAX_COUNT : LONG_MAX, &number))
                return count
                           ? toolUsageError("--echo-count takes 0..%u, not '%s'", MAX_COUNT, value)
                           : toolUsageError("%s takes a whole number from 0, not '%s'", arg, value);
            if (count)
                o->echoCount = number;
            else if (strcmp(arg, "--stop-after") == 0)
                o->stopAfter = number;
            else if (strcmp(arg, "--surplus") == 0)
                o->surplus = number;
            else
                o->vanishAfter = number;
        }
    }
    int refused = simLinePlaceRefused(o->place);
    return refused != 0 ? refused : -1;
}

// ---- the device ----------------------------------------------------------------

struct Device {
    const Options* options;
    // Bytes waiting for the line, in order.
    uint8_t out[OUT_BUFFER_SIZE];
    uint32_t outStart;
    uint32_t outEnd;
    // The frame being received from the PC.
    uint8_t line[8];
    uint32_t lineLength;
    uint8_t countBytes[3];
    // The running transfer.
    bool sending;
    uint32_t total;
    uint32_t sent;
    uint64_t newestLogIndex;
    uint32_t newestTimeOfDay;
    uint64_t samplesSentEver;
    bool vanishing;
    // Line pacing: bytes allowed since paceEpoch, counted in paceSent.
    bool paceRunning;
    uint64_t paceEpochMs;
    uint64_t paceSent;
    uint64_t noiseState;
};

uint32_t outPending(const Device& d) {
    return d.outEnd - d.outStart;
}

double noiseDraw(Device& d) {
    d.noiseState ^= d.noiseState << 13;
    d.noiseState ^= d.noiseState >> 7;
    d.noiseState ^= d.noiseState << 17;
    return static_cast<double>(d.noiseState >> 11) / 9007199254740992.0;
}

void emit(Device& d, const uint8_t* bytes, uint32_t count) {
    if (d.outStart > 0 && d.outEnd + count + 2 > OUT_BUFFER_SIZE) {
        memmove(d.out, d.out + d.outStart, outPending(d));
        d.outEnd -= d.outStart;
        d.outStart = 0;
    }
    if (d.outEnd + count + 2 > OUT_BUFFER_SIZE)
        return; // cannot happen with the refill limit; a real line would drop it too
    uint8_t* at = d.out + d.outEnd;
    memcpy(at, bytes, count);
    if (d.options->noise > 0.0 && noiseDraw(d) < d.options->noise) {
        uint32_t which = static_cast<uint32_t>(noiseDraw(d) * count) % count;
        uint8_t garbled = static_cast<uint8_t>(noiseDraw(d) * 256.0);
        at[which] = garbled == at[which] ? static_cast<uint8_t>(garbled ^ 0x10) : garbled;
    }
    d.outEnd += count;
    if (d.options->filler) {
        // One or two filler bytes, so the PC sees both.
        d.out[d.outEnd++] = FRAME_FILLER;
        if (d.samplesSentEver % 2 == 1)
            d.out[d.outEnd++] = FRAME_FILLER;
    }
}

void emitCode(Device& d, uint16_t code) {
    uint8_t frame[FRAME16_SIZE];
    encodeFrame(code, frame);
    emit(d, frame, FRAME16_SIZE);
}

uint8_t sampleValue(const Device& d, uint32_t k) {
    if (d.options->pattern == Pattern::Count)
        return countPatternValue(k);
    // Surplus values past the last counted one repeat the newest.
    uint64_t back = k < d.total ? d.total - 1 - k : 0;
    uint64_t backHundredths = back * d.options->interval % HUNDREDTHS_PER_DAY;
    uint32_t timeOfDay = static_cast<uint32_t>(
        (d.newestTimeOfDay + HUNDREDTHS_PER_DAY - backHundredths) % HUNDREDTHS_PER_DAY);
    return loadPatternValue(d.newestLogIndex - back, timeOfDay);
}

// What the device did, for a person watching it (--verbose).
void logEvent(const Device& d, const char* what, uint64_t number) {
    if (d.options->verbose)
        fprintf(stderr, "t596sim: %s %llu\n", what, static_cast<unsigned long long>(number));
}

void startTransfer(Device& d, uint32_t total) {
    logEvent(d, "transfer started, samples asked:", total);
    SystemTime local;
    getLocalTime(&local);
    d.newestTimeOfDay = static_cast<uint32_t>(
        ((local.hour * 60 + local.minute) * 60 + local.second) * 100 + local.milliseconds / 10);
    uint64_t interval = d.options->interval > 0 ? d.options->interval : 1;
    uint64_t hundredths = static_cast<uint64_t>(daysFromCivil(local.year, local.month, local.day)) *
                              HUNDREDTHS_PER_DAY +
                          d.newestTimeOfDay;
    // Far enough from zero that looking back over a full transfer stays positive.
    d.newestLogIndex = hundredths / interval + MAX_COUNT;
    d.total = total;
    d.sent = 0;
    d.sending = total > 0 || d.options->surplus > 0;
}

// Puts sample frames behind what waits, up to the refill limit, and carries
// out an early stop or a vanish once their sample number is reached.
void refill(Device& d) {
    const Options& o = *d.options;
    while (d.sending && outPending(d) < REFILL_BELOW) {
        if (o.vanishAfter >= 0 && d.samplesSentEver >= static_cast<uint64_t>(o.vanishAfter)) {
            d.sending = false;
            d.vanishing = true;
            return;
        }
        if (o.stopAfter >= 0 && d.sent >= static_cast<uint64_t>(o.stopAfter)) {
            d.sending = false;
            emitCode(d, DEV_STOP);
            logEvent(d, "transfer stopped by the device after samples:", d.sent);
            return;
        }
        uint8_t frame[FRAME8_SIZE];
        encodeValueFrame(sampleValue(d, d.sent), frame);
        emit(d, frame, FRAME8_SIZE);
        ++d.sent;
        ++d.samplesSentEver;
        if (d.sent == d.total + static_cast<uint64_t>(o.surplus)) {
            d.sending = false; // a full transfer simply ends
            logEvent(d, "transfer complete, samples sent:", d.sent);
        }
    }
}

uint32_t countFromBytes(const uint8_t bytes[3]) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16;
}

void echoCountCode(Device& d, uint16_t received, uint16_t base, int byteIndex) {
    if (d.options->noEcho)
        return;
    if (d.options->echoCount < 0) {
        emitCode(d, received);
        return;
    }
    uint32_t count = static_cast<uint32_t>(d.options->echoCount);
    emitCode(d, static_cast<uint16_t>(base + ((count >> (8 * byteIndex)) & 0xFF)));
}

void onCode(Device& d, uint16_t code) {
    if (d.options->silent)
        return;
    if (code >= DEV_COUNT_LO && code <= DEV_COUNT_LO_LAST) {
        d.countBytes[0] = static_cast<uint8_t>((code - DEV_COUNT_LO) % 256);
        echoCountCode(d, code, DEV_COUNT_LO, 0);
    } else if (code >= DEV_COUNT_MID && code <= DEV_COUNT_MID_LAST) {
        d.countBytes[1] = static_cast<uint8_t>((code - DEV_COUNT_MID) % 256);
        echoCountCode(d, code, DEV_COUNT_MID, 1);
    } else if (code >= DEV_COUNT_HI && code <= DEV_COUNT_HI_LAST) {
        d.countBytes[2] = static_cast<uint8_t>((code - DEV_COUNT_HI) % 256);
        echoCountCode(d, code, DEV_COUNT_HI, 2);
    } else if (code == DEV_PING) {
        // The interval goes first: the PC reads it as soon as the reply wakes it,
        // so a reply ahead of it would leave the PC with the previous interval.
        emitCode(d, static_cast<uint16_t>(DEV_INTERVAL + d.options->interval));
        emitCode(d, DEV_PING_REPLY);
        logEvent(d, "ping answered, interval in hundredths:", d.options->interval);
    } else if (code == DEV_START) {
        uint32_t total = d.options->echoCount >= 0 ? static_cast<uint32_t>(d.options->echoCount)
                                                   : countFromBytes(d.countBytes);
        startTransfer(d, total);
    } else if (code == DEV_STOP) {
        d.sending = false;
        emitCode(d, DEV_STOP);
        logEvent(d, "transfer stopped by the PC after samples:", d.sent);
    }
}

// The device's own reading of the PC's 16-bit frames: four nibble bytes, their
// sum and a carriage return; filler is skipped, anything else is dropped.
void onByte(Device& d, uint8_t byte) {
    if (byte == FRAME_FILLER)
        return;
    if (byte != FRAME_END) {
        if (d.lineLength < sizeof d.line)
            d.line[d.lineLength] = byte;
        ++d.lineLength;
        return;
    }
    bool whole = d.lineLength == FRAME16_SIZE - 1 &&
                 static_cast<uint8_t>(d.line[0] + d.line[1] + d.line[2] + d.line[3]) == d.line[4];
    d.lineLength = 0;
    if (!whole)
        return;
    uint16_t code = static_cast<uint16_t>((d.line[0] & 0xF0) << 8 | (d.line[1] & 0xF0) << 4 |
                                          (d.line[2] & 0xF0) | d.line[3] >> 4);
    onCode(d, code);
}

// The PC closed the port: what was on its way is lost, as on a real line.
void onHangup(Device& d) {
    d.outStart = d.outEnd = 0;
    d.sending = false;
    d.lineLength = 0;
    d.paceRunning = false;
}

// How many waiting bytes the line takes now.
uint32_t lineAllows(Device& d, uint64_t now, int* waitMs) {
    uint32_t pending = outPending(d);
    *waitMs = -1;
    if (pending == 0) {
        d.paceRunning = false;
        return 0;
    }
    if (d.options->pace == Pace::None)
        return pending;
    if (!d.paceRunning) {
        d.paceRunning = true;
        d.paceEpochMs = now;
        d.paceSent = 0;
    }
    // Counted from one epoch, so rounding never accumulates into drift.
    uint64_t due = (now - d.paceEpochMs) * LINE_BYTES_PER_SECOND / 1000 + 1;
    uint64_t allowed = due > d.paceSent ? due - d.paceSent : 0;
    uint32_t slice = LINE_BYTES_PER_SECOND * PACE_SLICE_MS / 1000;
    uint32_t wanted = pending < slice ? pending : slice;
    if (allowed >= wanted)
        return static_cast<uint32_t>(allowed < pending ? allowed : pending);
    uint64_t dueAtMs =
        ((d.paceSent + wanted - 1) * 1000 + LINE_BYTES_PER_SECOND - 1) / LINE_BYTES_PER_SECOND +
        d.paceEpochMs;
    *waitMs = dueAtMs > now ? static_cast<int>(dueAtMs - now) : 1;
    return 0;
}

// Serves the line until the simulator is told to end, or vanishes. Returns the
// exit code.
int serve(Device& d) {
    while (!simLineTerminationRequested()) {
        refill(d);
        if (d.vanishing && outPending(d) == 0)
            return 0;
        int waitMs = -1;
        uint32_t allowed = lineAllows(d, monotonicMs(), &waitMs);
        SimLineReady ready;
        if (!simLineWait(allowed > 0, waitMs, &ready))
            return TOOL_EXIT_FAILED;
        bool hungUp = ready.hungUp;
        if (ready.readable) {
            uint8_t bytes[256];
            int got = simLineRead(bytes, sizeof bytes);
            for (int i = 0; i < got; ++i)
                onByte(d, bytes[i]);
            hungUp = got < 0;
        }
        if (!hungUp && ready.writable && allowed > 0) {
            int wrote = simLineWrite(d.out + d.outStart, allowed);
            if (wrote > 0) {
                d.outStart += static_cast<uint32_t>(wrote);
                d.paceSent += static_cast<uint64_t>(wrote);
            }
            hungUp = wrote < 0;
        }
        if (hungUp) {
            // No PC on the line: wait for one to open it again, without spinning.
            onHangup(d);
            if (d.vanishing)
                return 0;
            simLinePause(HANGUP_PAUSE_MS);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    consoleUseUtf8(&argc, &argv);
    static Options options;
    int parsed = parseOptions(argc, argv, &options);
    if (parsed >= 0)
        return parsed;
    simLineCatchTermination();

    char shown[SHOWN_SIZE];
    if (!simLineOpen(options.place, shown, sizeof shown))
        return TOOL_EXIT_FAILED;
    printf("%s\n", shown);
    fflush(stdout);

    static Device device;
    device.options = &options;
    device.noiseState = 0x9E3779B97F4A7C15ULL;
    int code = serve(device);
    simLineClose();
    return code;
}
