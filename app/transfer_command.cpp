// The Transfer command. From the command until the sequence ends by any path
// it owns the link: the commands that would start a second transfer or take
// the link away are greyed out and refused, so two downloads can never mix.
// Only completion touches the data on display.
#include "app/transfer_command.h"

#include <cstdio>
#include <cstring>

#include "acquire/port_select.h"
#include "acquire/transfer_sequence.h"
#include "base/messages.h"
#include "base/texts.h"
#include "data/amount_table.h"
#include "link/protocol_engine.h"
#include "platform/clock.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/chart_view.h"

// A device that answers pings but reports no interval is given as long as
// two unanswered pings would take, then counts as silent.
constexpr uint64_t INTERVAL_WAIT_MS = 2 * REPLY_WAIT_MS;
constexpr int DIALOG_GET = 1;
constexpr int DIALOG_CANCEL = 2;
constexpr int DIALOG_FIRST_SPAN = 1001;

bool retryArmed = true;
int selectedAmount;

namespace {

// The commands that would start a second transfer or take the link away, as
// ranges of command identifiers.
struct CommandRange {
    int first;
    int last;
};

bool progressShown;

// The sequence is running: from the Transfer command to its end by any path.
bool sequenceRunning;
// Transfer commands the sequence posted to itself (the silent retry, the
// paced ping for an interval); only these get through while it runs.
int ownTransferPosts;
// Waiting for a device that answers pings to report its interval.
bool awaitingInterval;
bool intervalPingDue;
uint64_t intervalWaitStart;

constexpr CommandRange REFUSED_WHILE_RUNNING[] = {
    {IDM_TRANSFER, IDM_TRANSFER},
    {IDM_OPEN, IDM_OPEN},
    {IDM_COM1, IDM_COM8},
    {IDM_AUTO_CONNECT, IDM_AUTO_CONNECT},
};

bool refusedWhileRunning(int commandId) {
    for (const CommandRange& range : REFUSED_WHILE_RUNNING)
        if (commandId >= range.first && commandId <= range.last)
            return true;
    return false;
}

void greyRefusedCommands(bool grey) {
    for (const CommandRange& range : REFUSED_WHILE_RUNNING)
        for (int id = range.first; id <= range.last; ++id)
            uiEnableMenuItem(id, !grey);
}

void setSequenceRunning(bool running) {
    sequenceRunning = running;
    awaitingInterval = false;
    intervalPingDue = false;
    ownTransferPosts = 0;
    greyRefusedCommands(running);
}

// Before any message is shown: a message box runs the timers, and the menu
// must be usable again once it closes.
void endSequence() {
    if (sequenceRunning)
        setSequenceRunning(false);
}

void postOwnTransfer() {
    ++ownTransferPosts;
    uiPostCommand(IDM_TRANSFER);
}

// One paced ping per pump tick while the interval is awaited.
void pumpIdle() {
    if (intervalPingDue) {
        intervalPingDue = false;
        postOwnTransfer();
    }
}

void loadInto(char* out, size_t size, int textId) {
    char text[TEXT_UTF8_SIZE];
    loadTextUtf8(text, textId);
    size_t length = std::strlen(text);
    if (length >= size)
        length = size - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
}

void fillAcquisitionDialog(AcquisitionDialogContent* content, uint16_t interval) {
    std::memset(content, 0, sizeof *content);
    loadInto(content->title, sizeof content->title, TEXT_ACQUISITION_TITLE);
    loadInto(content->groupLabel, sizeof content->groupLabel, TEXT_DATA_AMOUNT);
    for (int k = 0; k < ACQUISITION_SPANS; ++k) {
        loadInto(content->spanLabels[k], sizeof content->spanLabels[k], TEXT_SPAN_FIRST + k);
        content->spanEnabled[k] = amountOffered(k, interval);
    }
    content->checkedSpan = AMOUNT_DEFAULT;
    loadInto(content->intervalLabel, sizeof content->intervalLabel, TEXT_INTERVAL);
    std::snprintf(content->intervalText, sizeof content->intervalText, "%d.%02d", interval / 100,
                  interval % 100);
    loadInto(content->cancelLabel, sizeof content->cancelLabel, TEXT_CANCEL);
    loadInto(content->okLabel, sizeof content->okLabel, TEXT_GET);
}

void endWithoutCommunication() {
    endSequence();
    showMessage(MSG_NO_COMMUNICATION, TEXT_PROGRAM_TITLE, 0);
    retryArmed = true;
}

void destroyProgress() {
    if (progressShown) {
        uiProgressDestroy();
        progressShown = false;
    }
}

} // namespace

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

void transferCommand() {
    if (sequenceRunning) {
        if (ownTransferPosts == 0)
            return; // a second Transfer while one runs
        --ownTransferPosts;
    } else {
        setSequenceRunning(true);
        reopenChosenPort();
    }
    if (!pingForTransfer()) {
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
    if (!requestCount(result - 1, interval)) {
        endSequence();
        showMessage(MSG_COUNT_TIMEOUT, TEXT_PROGRAM_TITLE, 0);
    }
}

void confirmCount() {
    if (!beginReception()) {
        endSequence();
        showMessage(MSG_COUNT_TIMEOUT, TEXT_PROGRAM_TITLE, 0);
        return;
    }
    if (!progressShown) {
        char text[TEXT_UTF8_SIZE];
        char abortLabel[TEXT_UTF8_SIZE];
        loadTextUtf8(text, TEXT_TRANSFERRING);
        loadTextUtf8(abortLabel, TEXT_ABORT);
        uiProgressCreate(text, abortLabel);
        progressShown = true;
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
    uiProgressSetPosition(receptionPercent());
    if (!completeReception())
        return;
    endSequence();
    destroyProgress();
    resetChartView();
}

void transferAbortCommand() {
    destroyProgress();
    endReception();
    endSequence();
}

void progressAbortClicked() {
    sendStop();
    uiPostCommand(CMD_TRANSFER_ABORT);
}
