// korvex-fetch: the transfer sequence without a window. The loop stands in
// for the main window's message loop: it runs posted commands and delivers
// the pump and progress ticks, and the front end answers the dialogs.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "acquire/port_select.h"
#include "acquire/transfer_sequence.h"
#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "app/transfer_command.h"
#include "base/config_file.h"
#include "base/messages.h"
#include "base/texts.h"
#include "data/sample_store.h"
#include "link/command_queue.h"
#include "link/protocol_engine.h"
#include "link/sample_staging.h"
#include "link/tx_ring.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "res/added_texts.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "tools/common/output_file.h"
#include "tools/common/output_interrupt.h"
#include "tools/common/tool_command_line.h"
#include "tools/korvex_fetch/fetch_frontend.h"
#include "tools/korvex_fetch/fetch_options.h"
#include "ui/frontend.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

extern const char TOOL_NAME[] = "korvex-fetch";

// A stream that stops without the device's DEV_STOP would keep the progress
// dialog up for ever; unattended, the fetch gives up after this long.
constexpr uint64_t STALL_LIMIT_MS = 5000;
constexpr uint32_t LOOP_SLEEP_MS = 5;
constexpr uint64_t STOP_DRAIN_MS = 500;

namespace {

std::atomic<bool> interrupted;

void onInterrupt(int) {
    interrupted.store(true);
}

// The save dialog's own number for a name too long has no words in the system.
void reportOutputError(const char* path, int error) {
    if (error == FNERR_BUFFERTOOSMALL)
        reportPath(path, "file name too long");
    else
        reportWriteFailure(path, error);
}

// The port as the user named it and the device it stands for: "COM1
// (/dev/ttyUSB0)", or the device path given. False, with "COMn" alone,
// when no device stands for the port.
bool describePort(int port, const char* device, char* text, size_t size) {
    if (port == 0) {
        std::snprintf(text, size, "%s", device);
        return true;
    }
    char path[FETCH_PATH_SIZE];
    const bool resolved = resolveSerialPort(port, path, sizeof path) == 0;
    if (resolved)
        std::snprintf(text, size, "COM%d (%s)", port, path);
    else
        std::snprintf(text, size, "COM%d", port);
    return resolved;
}

// Whether the port the command line names is a device the user may not open.
bool portDenied(const FetchOptions& options) {
    if (options.port == 0)
        return serialDeviceDenied(options.device);
    char path[FETCH_PATH_SIZE];
    return resolveSerialPort(options.port, path, sizeof path) == 0 && serialDeviceDenied(path);
}

// The search names no port when it fails; when not one of them stands for a
// device, that is the reason, not a silent logger.
void reportSearchFailure() {
    char path[FETCH_PATH_SIZE];
    for (int port = SERIAL_PORT_FIRST; port <= SERIAL_PORT_LAST; ++port) {
        if (resolveSerialPort(port, path, sizeof path) == 0)
            return;
    }
    toolError("COM%d..COM%d: no serial device stands for any of these ports", SERIAL_PORT_FIRST,
              SERIAL_PORT_LAST);
}

// Opens the port the command line names; returns its number, 0 for the
// device path given, or -1 after the program's message and the reason.
int openChosenPort(const FetchOptions& options) {
    if (options.autoSearch) {
        const int found = searchPorts();
        if (found != 0)
            return found;
        showMessage(MSG_DEVICE_NOT_FOUND, CAPTION_COMMUNICATION, 0);
        reportSearchFailure();
        return -1;
    }
    const bool opened = options.port != 0 ? openLink(options.port, LINK_BAUD)
                                          : openLinkDevice(options.device, LINK_BAUD);
    if (opened)
        return options.port;
    showMessage(MSG_PORT_FAILED, CAPTION_COMMUNICATION, 0);
    char port[FETCH_PATH_SIZE + 16];
    if (describePort(options.port, options.device, port, sizeof port)) {
        reportPathError(port, linkOpenError());
        // The system's reason says what, not what to do about it.
        if (portDenied(options))
            toolError("%s", addedText(ADDED_ACCESS_HINT));
    } else
        reportPath(port, "no serial device stands for this port");
    return -1;
}

// A file that cannot be written must be found out before a transfer that can
// take minutes, not after it: the final name, ".kvd" added, is begun as the
// save will begin it, and abandoned, which leaves nothing behind. A directory
// is refused as named, before ".kvd" could turn it into a file beside it.
bool outputWritable(const char* name) {
    if (outputPathRefused(name))
        return false;
    char path[DATA_FILE_PATH_SIZE];
    if (!fetchOutputPath(name, DATA_FILE_EXTENSION, path, sizeof path)) {
        char tooLong[FETCH_PATH_SIZE + sizeof ".kvd"];
        fetchOutputPath(name, DATA_FILE_EXTENSION, tooLong, sizeof tooLong);
        showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, FNERR_BUFFERTOOSMALL);
        reportOutputError(tooLong, FNERR_BUFFERTOOSMALL);
        return false;
    }
    if (std::strcmp(path, name) != 0 && outputPathRefused(path))
        return false;
    FileReplacement replacement;
    int err = fileReplaceBegin(path, &replacement);
    if (err != 0) {
        showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, err);
        reportOutputError(path, err);
        return false;
    }
    fileReplaceAbandon(&replacement);
    return true;
}

bool sequenceIdle() {
    return !transferRunning() && !countConfirmPending && commandQueueEmpty();
}

// Runs the sequence until the transfer completes or ends without data.
// Returns true when it completed.
bool runTransfer() {
    uiPostCommand(IDM_TRANSFER);
    uint64_t nextPump = monotonicMs();
    uint64_t nextProgress = nextPump;
    uint32_t lastReceived = 0;
    uint64_t lastArrival = nextPump;
    bool stopSent = false;
    for (;;) {
        int command = 0;
        // An interrupt drops a Transfer command that was posted again: the
        // command posts itself for as long as the device keeps answering.
        while (takePostedCommand(&command)) {
            if (command == CMD_TRANSFER_ABORT)
                transferAbortCommand();
            if (command != IDM_TRANSFER || interrupted.load())
                continue;
            transferCommand();
        }
        if (dataPresent)
            return true;
        if (fetchOutcome.messageShown || fetchOutcome.spanRefused || stopSent)
            return false;
        if (sequenceIdle())
            return false;
        uint64_t now = monotonicMs();
        if (transferActive) {
            uint32_t received = receivedCount.load(std::memory_order_acquire);
            if (received != lastReceived) {
                lastReceived = received;
                lastArrival = now;
            }
            bool stalled = now - lastArrival >= STALL_LIMIT_MS;
            if (stalled || interrupted.load()) {
                progressAbortClicked();
                if (stalled)
                    showMessage(MSG_COUNT_TIMEOUT, TEXT_PROGRAM_TITLE, 0);
                stopSent = true;
                continue;
            }
        } else {
            lastArrival = now;
            if (interrupted.load())
                return false;
        }
        if (now >= nextPump) {
            pumpTick();
            nextPump += PUMP_PERIOD_MS;
        }
        if (now >= nextProgress) {
            progressTick();
            nextProgress += PROGRESS_PERIOD_MS;
        }
        sleepMs(LOOP_SLEEP_MS);
    }
}

void printStamp(const char* label, const SampleRecord& record) {
    std::printf("%s%02d/%02d-%02d, %02d:%02d:%02d.%d%d\n", label, record.day, record.month,
                record.year, record.hour, record.minute, record.second, record.tenths,
                record.hundredths);
}

void printSummary(const char* file) {
    std::printf("count:    %u\n", dataHeader.count);
    std::printf("interval: %d.%02d s\n", dataHeader.interval / 100, dataHeader.interval % 100);
    if (dataHeader.count > 0) {
        printStamp("first:    ", sampleStore[0]);
        printStamp("last:     ", sampleStore[dataHeader.count - 1]);
    }
    if (file != nullptr)
        std::printf("file:     %s\n", file);
}

} // namespace

int main(int argc, char** argv) {
    consoleUseUtf8(&argc, &argv);
    FetchOptions options;
    int usage = parseFetchOptions(argc, argv, &options);
    if (usage == TOOL_ANSWERED)
        return TOOL_EXIT_OK;
    if (usage != 0)
        return usage;
    configBlock.languageBase = options.languageBase;
    fetchAnswers.span = options.span;
    fetchAnswers.output = options.output;
    fetchAnswers.drawBar = isatty(2) != 0;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, onInterrupt);
#endif

    mainWindowCreateEvents();
    transferInit();
    if (options.output[0] != '\0' && !outputWritable(options.output))
        return TOOL_EXIT_FAILED;
    if (options.summary.report != nullptr && outputPathRefused(options.summary.report))
        return TOOL_EXIT_FAILED;
    const int port = fetchOutcome.messageShown ? -1 : openChosenPort(options);
    if (port < 0)
        return TOOL_EXIT_FAILED;
    bool completed = runTransfer();
    finishProgressLine();
    // Let the DEV_STOP of an abort leave before the link closes.
    uint64_t stopDeadline = monotonicMs() + STOP_DRAIN_MS;
    while (txRingPending() != 0 && monotonicMs() < stopDeadline)
        sleepMs(LOOP_SLEEP_MS);
    closeLink();
    if (!completed) {
        // The program's message names no port; with a COMn or a search, the
        // user may not know which device was tried.
        if (fetchOutcome.messageShown) {
            char device[FETCH_PATH_SIZE + 16];
            describePort(port, options.device, device, sizeof device);
            reportPath(device, "the transfer failed");
        } else if (interrupted.load()) {
            toolError("interrupted");
        }
        return TOOL_EXIT_FAILED;
    }
    // The window shows an empty result; a script must be able to tell it from
    // a download, and no file is replaced by a bare header.
    if (dataHeader.count == 0) {
        toolError("the device sent no samples; nothing was written");
        return FETCH_EXIT_EMPTY;
    }
    // The device is done with; an interrupt now ends the tool without a
    // half-written file.
    abandonOutputOnInterrupt();
    // A .daq or .csv is written as korvex-convert writes it; any other name is
    // the data file, as the save dialog would take it.
    const OutputWriter* text = outputWriterFor(options.output);
    if (text != nullptr && std::strcmp(text->extension, DATA_FILE_EXTENSION) != 0) {
        if (!writeOutputFile(options.output))
            return TOOL_EXIT_FAILED;
        std::snprintf(fetchOutcome.savedPath, sizeof fetchOutcome.savedPath, "%s", options.output);
    } else if (options.output[0] != '\0') {
        int result = saveDataFile();
        if (result != 0) {
            showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, result);
            reportOutputError(fetchOutcome.savedPath, result);
        } else if (fetchOutcome.messageShown) {
            reportPathError(fetchOutcome.savedPath, dataFileShortWriteError());
        }
        if (fetchOutcome.messageShown)
            return TOOL_EXIT_FAILED;
    }
    const char* saved = fetchOutcome.savedPath[0] != '\0' ? fetchOutcome.savedPath : nullptr;
    // The file keeps every record received; the range restricts what is
    // summed up of them.
    if (!keepRecordRange(options.summary))
        return TOOL_EXIT_FAILED;
    if (options.summary.report != nullptr &&
        !writeReportFile(options.summary, saved != nullptr ? saved : "", options.languageBase))
        return TOOL_EXIT_FAILED;
    if (options.summary.wanted)
        printLoadSummary(options.summary, saved);
    else
        printSummary(saved);
    return TOOL_EXIT_OK;
}
