// korvex-fetch: the transfer sequence without a window. The loop stands in
// for the main window's message loop: it runs posted commands and delivers
// the pump and progress ticks, and the front end answers the dialogs.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "acquire/port_select.h"
#include "acquire/transfer.h"
#include "app/app_state.h"
#include "app/config_file.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "data/data_file.h"
#include "data/sample_store.h"
#include "frontend/frontend.h"
#include "link/command_queue.h"
#include "link/protocol_engine.h"
#include "link/serial_link.h"
#include "link/tx_ring.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "res/text_table.h"
#include "tools/common/output_file.h"
#include "tools/korvex_fetch/fetch_frontend.h"
#include "tools/korvex_fetch/fetch_options.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

// A stream that stops without the device's DEV_STOP would keep the progress
// dialog up for ever; unattended, the fetch gives up after this long.
constexpr uint64_t STALL_LIMIT_MS = 5000;
constexpr uint32_t LOOP_SLEEP_MS = 5;
constexpr uint64_t STOP_DRAIN_MS = 500;
// A device that answers every ping but never reports its interval makes the
// Transfer command ping again and again; unattended, the fetch gives up.
constexpr uint64_t INTERVAL_WAIT_MS = 5000;

static std::atomic<bool> interrupted;

static void onInterrupt(int) {
    interrupted.store(true);
}

static bool openChosenPort(const FetchOptions& options) {
    bool opened = false;
    if (options.autoSearch) {
        opened = searchPorts() != 0;
        if (!opened)
            showMessage(MSG_DEVICE_NOT_FOUND, CAPTION_COMMUNICATION, 0);
        return opened;
    }
    opened = options.port != 0 ? openLink(options.port, LINK_BAUD)
                               : openLinkDevice(options.device, LINK_BAUD);
    if (!opened)
        showMessage(MSG_PORT_FAILED, CAPTION_COMMUNICATION, 0);
    return opened;
}

// A file that cannot be written must be found out before a transfer that can
// take minutes, not after it. The test opens the file as saving will, without
// truncating one that exists, and removes a file it had to create.
static bool outputWritable(const char* name) {
    char path[DATA_FILE_PATH_SIZE];
    if (!fetchOutputPath(name, DATA_FILE_EXTENSION, path, sizeof path))
        return true; // the save reports a name that does not fit
    FileHandle file = FILE_NONE;
    bool existed = false;
    int err = fileOpen(path, FILE_WRITE, FILE_OPEN_ALWAYS, &file, &existed);
    if (err != 0) {
        showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, err);
        return false;
    }
    fileClose(file);
    if (!existed)
        std::remove(path);
    return true;
}

static bool sequenceIdle() {
    return !transferActive && !countConfirmPending && commandQueueEmpty();
}

// Runs the sequence until the transfer completes or ends without data.
// Returns true when it completed.
static bool runTransfer() {
    uiPostCommand(IDM_TRANSFER);
    uint64_t nextPump = monotonicMs();
    uint64_t nextProgress = nextPump;
    uint32_t lastReceived = 0;
    uint64_t lastArrival = nextPump;
    bool stopSent = false;
    uint64_t started = nextPump;
    for (;;) {
        int command = 0;
        // An interrupt drops a Transfer command that was posted again: the
        // command posts itself for as long as the device keeps answering.
        while (takePostedCommand(&command)) {
            if (command == CMD_TRANSFER_ABORT)
                transferAbortCommand();
            if (command != IDM_TRANSFER || interrupted.load())
                continue;
            if (deviceInterval.load() == 0 && monotonicMs() - started >= INTERVAL_WAIT_MS) {
                std::fprintf(stderr, "korvex-fetch: the device reports no sample interval\n");
                return false;
            }
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

static void printStamp(const char* label, const SampleRecord& record) {
    std::printf("%s%02d/%02d-%02d, %02d:%02d:%02d.%d%d\n", label, record.day, record.month,
                record.year, record.hour, record.minute, record.second, record.tenths,
                record.hundredths);
}

static void printSummary(const char* file) {
    std::printf("count:    %u\n", dataHeader.count);
    std::printf("interval: %d.%02d s\n", dataHeader.interval / 100, dataHeader.interval % 100);
    if (dataHeader.count > 0) {
        printStamp("first:    ", sampleStore[0]);
        printStamp("last:     ", sampleStore[dataHeader.count - 1]);
    }
    if (file != nullptr)
        std::printf("file:     %s\n", file);
}

int main(int argc, char** argv) {
    FetchOptions options;
    int usage = parseFetchOptions(argc, argv, &options);
    if (usage != 0)
        return usage;
    configBlock.languageBase = options.languageBase;
    fetchAnswers.span = options.span;
    fetchAnswers.output = options.output;
    fetchAnswers.drawBar = isatty(2) != 0;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);

    mainWindowCreateEvents();
    transferInit();
    if (options.output[0] != '\0' && !outputWritable(options.output))
        return FETCH_EXIT_FAILED;
    if (fetchOutcome.messageShown || !openChosenPort(options))
        return FETCH_EXIT_FAILED;
    bool completed = runTransfer();
    finishProgressLine();
    // Let the DEV_STOP of an abort leave before the link closes.
    uint64_t stopDeadline = monotonicMs() + STOP_DRAIN_MS;
    while (txRingPending() != 0 && monotonicMs() < stopDeadline)
        sleepMs(LOOP_SLEEP_MS);
    closeLink();
    if (!completed) {
        if (interrupted.load() && !fetchOutcome.messageShown)
            std::fprintf(stderr, "korvex-fetch: interrupted\n");
        return FETCH_EXIT_FAILED;
    }
    // A .daq or .csv is written as korvex-convert writes it; any other name is
    // the data file, as the save dialog would take it.
    const OutputWriter* text = outputWriterFor(options.output);
    if (text != nullptr && std::strcmp(text->extension, DATA_FILE_EXTENSION) != 0) {
        if (!text->write(options.output))
            return FETCH_EXIT_FAILED;
        std::snprintf(fetchOutcome.savedPath, sizeof fetchOutcome.savedPath, "%s", options.output);
    } else if (options.output[0] != '\0') {
        int result = saveDataFile();
        if (result != 0)
            showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, result);
        if (fetchOutcome.messageShown)
            return FETCH_EXIT_FAILED;
    }
    printSummary(fetchOutcome.savedPath[0] != '\0' ? fetchOutcome.savedPath : nullptr);
    return FETCH_EXIT_OK;
}
