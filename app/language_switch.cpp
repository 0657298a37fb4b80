#include "app/command_routing.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "base/config_file.h"
#include "base/messages.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"

// Choosing the language already in use runs every step as well. The window
// title keeps the language it was loaded in.
void switchLanguage(int commandId) {
    configBlock.languageBase = uint16_t(commandId - IDM_LANG_ENGLISH);
    uiDestroyMenuBar();
    loadMenuBar();
    checkConfiguredMenuItems();

    int result = writeConfig(&configBlock);
    if (result != 0) {
        showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, result);
    }

    int selected = uiSpanGetSelection();
    fillSpanSelector();
    uiSpanSetSelection(selected);

    // The chart labels repaint in the new language.
    uiInvalidate(true);
}
