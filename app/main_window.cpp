#include "app/main_window.h"

#include <cstring>

#include "app/menu_bar.h"
#include "app/transfer_command.h"
#include "base/config_file.h"
#include "base/messages.h"
#include "base/texts.h"
#include "link/protocol_engine.h"
#include "platform/event.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/drawing_objects.h"

namespace {

bool isPlainPort(uint16_t port) {
    return port >= SERIAL_PORT_FIRST && port <= SERIAL_PORT_LAST;
}

// The file is taken as it stands, but the program must always have a menu,
// a check mark on a real port item and texts from inside the table. A port
// carrying the failed mark, saved by an earlier run, means the port it
// marks: that one is opened and the number kept plain. A port or language
// the program never writes falls back to COM1 or English in memory; the file
// keeps its bytes until the next regular write.
void adoptStoredSettings(ConfigBlock* block) {
    if (block->comPort > PORT_FAILED_MARK && isPlainPort(block->comPort - PORT_FAILED_MARK)) {
        block->comPort -= PORT_FAILED_MARK;
    } else if (!isPlainPort(block->comPort)) {
        block->comPort = SERIAL_PORT_FIRST;
    }
    if (block->languageBase != LANG_ENGLISH && block->languageBase != LANG_GERMAN &&
        block->languageBase != LANG_DANISH) {
        block->languageBase = LANG_ENGLISH;
    }
}

void createReplyEvent(std::atomic<EventHandle>& slot) {
    EventHandle event = nullptr;
    int error = eventCreate(true, &event);
    slot.store(event);
    if (error != 0) {
        showMessage(MSG_EVENT_CREATE, TEXT_PROGRAM_TITLE, error);
    }
}

void closeReplyEvent(std::atomic<EventHandle>& slot) {
    EventHandle event = slot.exchange(nullptr);
    if (event != nullptr) {
        eventClose(event);
    }
}

} // namespace

void fillSpanSelector() {
    constexpr int SPAN_COUNT = TEXT_SPAN_LAST - TEXT_SPAN_FIRST + 1;
    char labels[SPAN_COUNT][TEXT_UTF8_SIZE];
    const char* pointers[SPAN_COUNT];
    for (int i = 0; i < SPAN_COUNT; ++i) {
        loadTextUtf8(labels[i], TEXT_SPAN_FIRST + i);
        pointers[i] = labels[i];
    }
    uiSpanSetItems(pointers, SPAN_COUNT);
}

int mainWindowCreate() {
    // The defaults a missing file receives: COM1, English.
    std::memset(&configBlock, 0, sizeof configBlock);
    configBlock.comPort = SERIAL_PORT_FIRST;

    int result = readConfig(&configBlock);
    adoptStoredSettings(&configBlock);
    if (result != 0) {
        showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, result);
    }

    if (!openLink(configBlock.comPort, LINK_BAUD)) {
        showMessage(MSG_PORT_FAILED, CAPTION_COMMUNICATION, 0);
        configBlock.comPort += PORT_FAILED_MARK;
    }

    loadMenuBar();
    if (configBlock.comPort > PORT_FAILED_MARK) {
        configBlock.comPort -= PORT_FAILED_MARK;
    }
    checkConfiguredMenuItems();

    transferInit();
    uiStartTimer(IDT_PUMP, PUMP_PERIOD_MS);
    uiStartTimer(IDT_PROGRESS, PROGRESS_PERIOD_MS);

    createDrawingObjects();

    fillSpanSelector();
    uiSpanSetSelection(0);
    uiScrollShow(false);
    return 0;
}

void mainWindowCreateEvents() {
    createReplyEvent(pingReplyEvent);
    createReplyEvent(countReplyEvent);
}

void mainWindowClose() {
    int result = writeConfig(&configBlock);
    if (result != 0) {
        showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, result);
    }
    // The progress timer is left running; it ends with the window.
    uiStopTimer(IDT_PUMP);
    uiDestroyMainWindow();
}

void mainWindowDestroy() {
    uiDestroyMenuBar();
    closeLink();
    closeReplyEvent(pingReplyEvent);
    closeReplyEvent(countReplyEvent);
    deleteDrawingObjects();
}

void mainWindowTimer(int timerId) {
    if (timerId == IDT_PUMP) {
        pumpTick();
    } else if (timerId == IDT_PROGRESS) {
        progressTick();
    }
}
