// The main window's menu bar in the active language, and its check marks.
#pragma once
#include <cstdint>

#include "res/menu_table.h"

// The bar of the active language into entries, each COM item with the device
// it stands for after a tab ("COM &1\t/dev/ttyUSB0"); a port that no device
// stands for keeps its plain text. Returns the number of entries.
int buildMenuBar(MenuEntry entries[MENU_TEMPLATE_ROWS]);
// Builds the bar and hands it to the front end.
void loadMenuBar();
// The item that stands for comPort: one carrying the failed mark counts as
// the port it marks.
int portMenuItem(uint16_t comPort);
// Checks the item of the configured port and of the configured language.
void checkConfiguredMenuItems();
