#include "app/menu_bar.h"

#include <cstdio>
#include <cstring>

#include "app/transfer_command.h"
#include "base/config_file.h"
#include "base/texts.h"
#include "platform/serial_ports.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"

namespace {

void copyText(char* to, const char* from) {
    std::snprintf(to, MENU_TEXT_SIZE, "%s", from);
}

// The device is looked up each time the bar is built, so a menu loaded after
// an adapter was plugged in names it.
void addDeviceHint(char* text, int port) {
    char device[MENU_TEXT_SIZE];
    if (resolveSerialPort(port, device, sizeof device) != 0) {
        return;
    }
    size_t length = std::strlen(text);
    std::snprintf(text + length, MENU_TEXT_SIZE - length, "\t%s", device);
}

} // namespace

int buildMenuBar(MenuEntry entries[MENU_TEMPLATE_ROWS]) {
    int language = activeLanguageBase() / TEXT_SLOTS_PER_LANGUAGE;
    for (int row = 0; row < MENU_TEMPLATE_ROWS; ++row) {
        const MenuTemplateRow& from = menuTemplate[row];
        MenuEntry& entry = entries[row];
        entry.kind = from.kind;
        entry.commandId = from.commandId;
        copyText(entry.text, from.texts[language]);
        int port = from.commandId - IDM_COM_BASE;
        if (from.kind == MENU_ITEM && port >= SERIAL_PORT_FIRST && port <= SERIAL_PORT_LAST) {
            addDeviceHint(entry.text, port);
        }
    }
    return MENU_TEMPLATE_ROWS;
}

void loadMenuBar() {
    MenuEntry entries[MENU_TEMPLATE_ROWS];
    int count = buildMenuBar(entries);
    uiSetMenuBar(entries, count);
    // A bar rebuilt while a transfer runs keeps its commands greyed out.
    applyTransferMenuState();
}

int portMenuItem(uint16_t comPort) {
    int port = comPort > PORT_FAILED_MARK ? comPort - PORT_FAILED_MARK : comPort;
    return IDM_COM_BASE + port;
}

void checkConfiguredMenuItems() {
    uiCheckMenuItem(portMenuItem(configBlock.comPort), true);
    uiCheckMenuItem(IDM_LANG_ENGLISH + activeLanguageBase(), true);
}
