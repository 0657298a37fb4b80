// The menu bar in the three languages: one structure with other texts, the
// popups of the top level, and the COM items named after their devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "app/main_window.h"
#include "res/menu_table.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"

namespace {

using Strings = std::vector<std::string>;
using MenuBar = CreatedMainWindowTest;

TEST_F(MenuBar, TheThreeLanguagesDifferOnlyInText) {
    std::vector<MenuEntry> bars[3];
    const int commands[3] = {IDM_LANG_ENGLISH, IDM_LANG_GERMAN, IDM_LANG_DANISH};
    for (int i = 0; i < 3; ++i) {
        mainWindowCommand(commands[i], 0);
        bars[i] = scripted.menuBar;
    }
    for (int i = 1; i < 3; ++i) {
        ASSERT_EQ(bars[i].size(), bars[0].size());
        for (size_t row = 0; row < bars[0].size(); ++row) {
            EXPECT_EQ(bars[i][row].kind, bars[0][row].kind) << "row " << row;
            EXPECT_EQ(bars[i][row].commandId, bars[0][row].commandId) << "row " << row;
        }
    }
    EXPECT_EQ(std::string(bars[1][24].text), "&Übertragen");
    EXPECT_EQ(std::string(bars[2][2].text), "&Åben");
    EXPECT_EQ(std::string(bars[1][34].text), "Dä&nisch");
    EXPECT_EQ(std::string(bars[2][36].text), "&Omkring");
}

TEST_F(MenuBar, HasFivePopupsThenAboutWithExportInsideFileThenAnalysis) {
    // The bar's top level: what stands at nesting depth 0.
    Strings topLevel;
    int depth = 0;
    int deepest = 0;
    for (const MenuEntry& entry : scripted.menuBar) {
        if (depth == 0 && entry.kind != MENU_POPUP_END) {
            topLevel.push_back(entry.text);
        }
        if (entry.kind == MENU_POPUP_BEGIN) {
            deepest = std::max(deepest, ++depth);
        } else if (entry.kind == MENU_POPUP_END) {
            --depth;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(topLevel, (Strings{"&File", "&Communication", "&Data acquisition", "&Print",
                                 "&Language", "&About", "A&nalysis"}));
    EXPECT_EQ(scripted.menuBar[3].kind, MENU_POPUP_BEGIN);
    EXPECT_EQ(std::string(scripted.menuBar[3].text), "&Export");
    // The bar as it was, About last, and the Analysis popup appended after it.
    EXPECT_EQ(scripted.menuBar[36].commandId, IDM_ABOUT);
    EXPECT_EQ(scripted.menuBar[38].commandId, IDM_ANALYSIS_SUMMARY);
    EXPECT_EQ(scripted.menuBar[39].commandId, IDM_ANALYSIS_REPORT);
    EXPECT_EQ(scripted.menuBar.back().kind, MENU_POPUP_END);
}

TEST_F(MenuBar, ComItemsNameTheirDevices) {
    EXPECT_EQ(std::string(scriptedMenuItem(IDM_COM_BASE + 8)->text),
              "COM &8\t/nonexistent/korvex-com8");
    unsetenv("KORVEX_COM8");
    setenv("KORVEX_COM8", "/dev/ttyUSB7", 1);
    mainWindowCommand(IDM_LANG_ENGLISH, 0);
    EXPECT_EQ(std::string(scriptedMenuItem(IDM_COM_BASE + 8)->text), "COM &8\t/dev/ttyUSB7");
}

#ifndef _WIN32
// Root opens every device, so the suffix shows only to another user:
// tests/e2e/test_port_access.py runs this test as one. (Windows gives every
// user its ports.)
TEST_F(MenuBar, ComItemOfADeviceTheUserMayNotOpenSaysNoAccess) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may open every device";
    const char* device = "locked-tty";
    const int file = open(device, O_CREAT | O_WRONLY, 0);
    ASSERT_GE(file, 0);
    close(file);
    setenv("KORVEX_COM3", device, 1);
    mainWindowCommand(IDM_LANG_ENGLISH, 0);
    EXPECT_EQ(std::string(scriptedMenuItem(IDM_COM_BASE + 3)->text),
              "COM &3\tlocked-tty (no access)");
    mainWindowCommand(IDM_LANG_DANISH, 0);
    EXPECT_EQ(std::string(scriptedMenuItem(IDM_COM_BASE + 3)->text),
              "COM &3\tlocked-tty (ingen adgang)");
    // Message 78 stays as it is.
    mainWindowCommand(IDM_COM_BASE + 3, 0);
    ASSERT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scripted.messageBoxes[0].text, "Comm-port optaget eller ikke-eksisterende");
}
#endif

} // namespace
