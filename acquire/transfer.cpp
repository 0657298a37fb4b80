// The transfer sequence. The reader thread stages the values of a reception
// apart from the data on display (data/sample_store.h); only completion makes
// them the data, so an abort, a vanished device or a stalled stream never
// touches what the user already has. From the Transfer command until the
// sequence ends by any path it owns the link: the commands that would start
// a second transfer or take the link away are greyed out and refused, so two
// downloads can never mix.
#include "acquire/transfer.h"

#include <cstdio>
#include <cstring>

#include "acquire/amount_table.h"
#include "acquire/port_select.h"
#include "app/app_state.h"
#include "app/messages.h"
#include "app/texts.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "frontend/frontend.h"
#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/protocol_engine.h"
#include "link/reply_wait.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "res/text_table.h"
#include "view/chart_view.h"

constexpr uint32_t REPLY_WAIT_MS = 2000;
// A device that answers pings but reports no interval is given as long as
// two unanswered pings would take, then counts as silent.
constexpr uint64_t INTERVAL_WAIT_MS = 2 * REPLY_WAIT_MS;
constexpr int DIALOG_GET = 1;
constexpr int DIALOG_CANCEL = 2;
constexpr int DIALOG_FIRST_SPAN = 1001;
constexpr int TEXT_INTERVAL_LABEL = 16;
constexpr int TEXT_DATA_AMOUNT = 20;
constexpr int TEXT_CANCEL = 21;
constexpr int TEXT_GET = 22;
constexpr int TEXT_DIALOG_TITLE = 23;
constexpr int TEXT_TRANSFERRING = 27;
constexpr int TEXT_ABORT = 28;

bool retryArmed = true;
int selectedAmount;
bool transferActive;
uint32_t progressDivisor = 1;

// The span and the interval of a count. The request of the last Get waits in
// transferAsked for the device's echo and becomes transferReceiving only when
// the reception starts, so a second Transfer chosen while one is receiving
// cannot change what the first commits.
struct TransferRequest {
    int amountIndex;
    uint16_t interval;
};
static TransferRequest transferAsked;
static TransferRequest transferReceiving;
static bool progressShown;

// The sequence is running: from the Transfer command to its end by any path.
static bool sequenceRunning;
// Transfer commands the sequence posted to itself (the silent retry, the
// paced ping for an interval); only these get through while it runs.
static int ownTransferPosts;
// Waiting for a device that answers pings to report its interval.
static bool awaitingInterval;
static bool intervalPingDue;
static uint64_t intervalWaitStart;

// The commands that would start a second transfer or take the link away, as
// ranges of command identifiers.
struct CommandRange {
    int first;
    int last;
};
static constexpr CommandRange REFUSED_WHILE_RUNNING[] = {
    {IDM_TRANSFER, IDM_TRANSFER},
    {IDM_OPEN, IDM_OPEN},
    {IDM_COM1, IDM_COM8},
    {IDM_AUTO_CONNECT, IDM_AUTO_CONNECT},
};

static bool refusedWhileRunning(int commandId) {
    for (const CommandRange& range : REFUSED_WHILE_RUNNING)
        if (commandId >= range.first && commandId <= range.last)
            return true;
    return false;
}

static void greyRefusedCommands(bool grey) {
    for (const CommandRange& range : REFUSED_WHILE_RUNNING)
        for (int id = range.first; id <= range.last; ++id)
            uiEnableMenuItem(id, !grey);
}

static void setSequenceRunning(bool running) {
    sequenceRunning = running;
    awaitingInterval = false;
    intervalPingDue = false;
    ownTransferPosts = 0;
    greyRefusedCommands(running);
}

// Before any message is shown: a message box runs the timers, and the menu
// must be usable again once it closes.
static void endSequence() {
    if (sequenceRunning)
        setSequenceRunning(false);
}

static void postOwnTransfer() {
    ++ownTransferPosts;
    uiPostCommand(IDM_TRANSFER);
}

// One paced ping per pump tick while the interval is awaited.
static void pumpIdle() {
    if (intervalPingDue) {
        intervalPingDue = false;
        postOwnTransfer();
    }
}

void transferInit() {
    setCountConfirmHandler(confirmCount);
    setPumpIdleHandler(pumpIdle);
}

bool transferRunning() {
    return sequenceRunning;
}

bool transferRefuses(int commandId) {
    if (!sequenceRunning || !refusedWhileRunning(commandId))
        return false;
    return commandId != IDM_TRANSFER || ownTransferPosts == 0;
}

void applyTransferMenuState() {
    if (sequenceRunning)
        greyRefusedCommands(true);
}

static void resetReply(const std::atomic<EventHandle>& event) {
    EventHandle handle = event.load(std::memory_order_acquire);
    if (handle != nullptr)
        eventReset(handle);
}

static void loadInto(char* out, size_t size, int textId) {
    char text[TEXT_UTF8_SIZE];
    loadTextUtf8(text, textId);
    size_t length = std::strlen(text);
    if (length >= size)
        length = size - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
}

static void fillAcquisitionDialog(AcquisitionDialogContent* content, uint16_t interval) {
    std::memset(content, 0, sizeof *content);
    loadInto(content->title, sizeof content->title, TEXT_DIALOG_TITLE);
    loadInto(content->groupLabel, sizeof content->groupLabel, TEXT_DATA_AMOUNT);
    for (int k = 0; k < ACQUISITION_SPANS; ++k) {
        loadInto(content->spanLabels[k], sizeof content->spanLabels[k], TEXT_SPAN_FIRST + k);
        content->spanEnabled[k] = amountOffered(k, interval);
    }
    content->checkedSpan = AMOUNT_DEFAULT;
    loadInto(content->intervalLabel, sizeof content->intervalLabel, TEXT_INTERVAL_LABEL);
    std::snprintf(content->intervalText, sizeof content->intervalText, "%d.%02d", interval / 100,
                  interval % 100);
    loadInto(content->cancelLabel, sizeof content->cancelLabel, TEXT_CANCEL);
    loadInto(content->okLabel, sizeof content->okLabel, TEXT_GET);
}

bool acquisitionDialogCommand(int id, int* result) {
    if (id == DIALOG_GET) {
        *result = selectedAmount + 1;
        return true;
    }
    if (id == DIALOG_CANCEL) {
        *result = 0;
        return true;
    }
    if (id >= DIALOG_FIRST_SPAN && id < DIALOG_FIRST_SPAN + ACQUISITION_SPANS)
        selectedAmount = id - DIALOG_FIRST_SPAN;
    return false;
}

static void endWithoutCommunication() {
    endSequence();
    showMessage(MSG_NO_COMMUNICATION, TEXT_PROGRAM_TITLE, 0);
    retryArmed = true;
}

void transferCommand() {
    if (sequenceRunning) {
        if (ownTransferPosts == 0)
            return; // a second Transfer while one runs
        --ownTransferPosts;
    } else {
        setSequenceRunning(true);
        reopenChosenPort();
    }
    resetReply(pingReplyEvent);
    sendPing();
    if (!awaitReply(pingReplyEvent, REPLY_WAIT_MS)) {
        if (retryArmed) {
            retryArmed = false;
            postOwnTransfer();
        } else {
            endWithoutCommunication();
        }
        return;
    }
    retryArmed = true;
    // Read once: the reader thread may change it at any moment, even to 0.
    uint16_t interval = deviceInterval.load(std::memory_order_acquire);
    if (interval == 0) {
        // Pinged again at the pump's pace, not flat out, and not for ever.
        uint64_t now = monotonicMs();
        if (!awaitingInterval) {
            awaitingInterval = true;
            intervalWaitStart = now;
        } else if (now - intervalWaitStart >= INTERVAL_WAIT_MS) {
            endWithoutCommunication();
            return;
        }
        intervalPingDue = true;
        return;
    }
    awaitingInterval = false;
    AcquisitionDialogContent content;
    fillAcquisitionDialog(&content, interval);
    selectedAmount = AMOUNT_DEFAULT;
    int result = uiRunAcquisitionDialog(&content);
    if (result <= 0 || result > AMOUNT_COUNT) {
        endSequence();
        return;
    }
    // The count is computed with the interval the dialog showed, not one the
    // device reported while it was open: that one may be 0, and the spans on
    // offer were chosen for the one shown.
    int k = result - 1;
    uint32_t n = amountSampleCount(k, interval);
    expectedCount.store(n, std::memory_order_release);
    transferAsked = {k, interval};
    resetReply(countReplyEvent);
    if (!queueCount(n)) {
        endSequence();
        showMessage(MSG_COUNT_TIMEOUT, TEXT_PROGRAM_TITLE, 0);
        return;
    }
    countConfirmPending = true;
}

void confirmCount() {
    // The echo may have come while the count codes left; the event keeps it.
    if (!awaitReply(countReplyEvent, REPLY_WAIT_MS)) {
        endSequence();
        showMessage(MSG_COUNT_TIMEOUT, TEXT_PROGRAM_TITLE, 0);
        return;
    }
    queueCode(DEV_START);
    // The bar is full when the store is.
    uint32_t expected = storableCount(expectedCount.load(std::memory_order_acquire));
    progressDivisor = expected < 100 ? 1 : expected / 100;
    transferReceiving = transferAsked;
    transferActive = true;
    receivedCount.store(0, std::memory_order_release);
    if (!progressShown) {
        char text[TEXT_UTF8_SIZE];
        char abortLabel[TEXT_UTF8_SIZE];
        loadTextUtf8(text, TEXT_TRANSFERRING);
        loadTextUtf8(abortLabel, TEXT_ABORT);
        uiProgressCreate(text, abortLabel);
        progressShown = true;
    }
}

static void destroyProgress() {
    if (progressShown) {
        uiProgressDestroy();
        progressShown = false;
    }
}

void progressTick() {
    // Checked on every tick, so that a device that goes away while nothing
    // runs frees its port at once as well.
    if (closeLostLink() && transferActive) {
        transferAbortCommand();
        showMessage(MSG_NO_COMMUNICATION, TEXT_PROGRAM_TITLE, 0);
        return;
    }
    if (!transferActive)
        return;
    uint32_t received = receivedCount.load(std::memory_order_acquire);
    uint32_t position = received / progressDivisor;
    uiProgressSetPosition(position > 100 ? 100 : int(position));
    // The store drops values past its capacity, so an echoed count above it
    // completes once the store is full.
    uint32_t echoed = expectedCount.load(std::memory_order_acquire);
    uint32_t kept = storableCount(echoed);
    if (received < kept)
        return;
    transferActive = false;
    endSequence();
    destroyProgress();
    // The device sends the oldest value first. Past the capacity it still has
    // the newest ones to send: it is stopped, and the values kept are stamped
    // as the oldest of the echoed count, ending that many intervals before
    // now. Values beyond the echoed count were never asked for and are not
    // kept.
    uint32_t unsent = echoed - kept;
    if (unsent > 0)
        sendStop();
    commitStagedValues(kept);
    dataHeader.interval = transferReceiving.interval;
    dataHeader.amountIndex = uint16_t(transferReceiving.amountIndex);
    SystemTime now;
    getLocalTime(&now);
    stampFromEndBefore(now, unsent);
    resetChartView();
}

void transferAbortCommand() {
    destroyProgress();
    transferActive = false;
    endSequence();
}

void progressAbortClicked() {
    sendStop();
    uiPostCommand(CMD_TRANSFER_ABORT);
}
