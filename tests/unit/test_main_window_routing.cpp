// Command routing of the main window: which ids it takes, the About box, the
// language switch, and the two rules the data commands share.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#endif

#include "app/command_routing.h"
#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "base/config_file.h"
#include "base/error_codes.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"

namespace {

using Strings = std::vector<std::string>;

class Routing : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        attachPseudoTerminal(1);
        mainWindowCreate();
        scripted.calls.clear();
    }
};

TEST_F(Routing, IdsNoMenuCarriesGoToDefaultProcessing) {
    for (int id : {0, 1, 2, 101, 104, 106, 2000, 2011, 2012, 2021, 2023, 2120 + 1, 9999, 65535}) {
        EXPECT_FALSE(mainWindowCommand(id, 0)) << "id " << id;
    }
    EXPECT_TRUE(scripted.calls.empty());
}

TEST_F(Routing, SpanSelectorNotificationsAreTaken) {
    for (int notification : {CBN_DROPDOWN, CBN_SELENDOK, 1, 3}) {
        EXPECT_TRUE(mainWindowCommand(IDC_SPAN_COMBO, notification));
    }
    // Without data a confirmed choice only gives the focus back.
    EXPECT_EQ(scripted.calls, Strings{"focusMainWindow"});
}

TEST_F(Routing, AboutBoxHasTheCaptionOfTheActiveLanguage) {
    scripted.aboutResult = 2;
    EXPECT_TRUE(mainWindowCommand(IDM_ABOUT, 0));
    EXPECT_TRUE(mainWindowCommand(IDM_LANG_GERMAN, 0));
    EXPECT_TRUE(mainWindowCommand(IDM_ABOUT, 0));
    EXPECT_TRUE(mainWindowCommand(IDM_LANG_DANISH, 0));
    EXPECT_TRUE(mainWindowCommand(IDM_ABOUT, 0));
    EXPECT_EQ(scripted.aboutCaptions, (Strings{"About", "Über", "Omkring"}));
    EXPECT_FALSE(scripted.mainWindowDestroyed);
}

TEST_F(Routing, LanguageSwitchRunsItsSixStepsInOrder) {
    uiSpanSetSelection(5);
    scripted.calls.clear();

    EXPECT_TRUE(mainWindowCommand(IDM_LANG_GERMAN, 0));
    EXPECT_EQ(scripted.calls, (Strings{
                                  "destroyMenuBar",
                                  "setMenuBar|37",
                                  "checkMenuItem|2001|1",
                                  "checkMenuItem|2120|1",
                                  "spanSetItems|14",
                                  "spanSetSelection|5",
                                  "invalidate|1",
                              }));
    EXPECT_EQ(configBlock.languageBase, 100);
    EXPECT_EQ(configFileBytes()[260], 100);
    EXPECT_EQ(std::string(scripted.menuBar.front().text), "&Datei");
    EXPECT_EQ(scripted.spanItems[0], "2 Minuten");
    EXPECT_EQ(scripted.spanSelection, 5);
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 1, IDM_LANG_GERMAN}));
}

TEST_F(Routing, EveryLanguageAndTheOneInUseRunAllSteps) {
    const struct {
        int command;
        uint16_t base;
        const char* firstSpan;
    } languages[] = {
        {IDM_LANG_DANISH, 200, "2 minutter"},
        {IDM_LANG_DANISH, 200, "2 minutter"},
        {IDM_LANG_ENGLISH, 0, "2 minutes"},
        {IDM_LANG_ENGLISH, 0, "2 minutes"},
    };
    uiSpanSetSelection(13);
    for (const auto& language : languages) {
        unlink(CONFIG_FILE_NAME);
        scripted.calls.clear();
        EXPECT_TRUE(mainWindowCommand(language.command, 0));
        EXPECT_EQ(scriptedCount("setMenuBar|37"), 1);
        EXPECT_EQ(scriptedCount("invalidate|1"), 1);
        EXPECT_EQ(configFileBytes().size(), CONFIG_BLOCK_SIZE) << "written every time";
        EXPECT_EQ(configBlock.languageBase, language.base);
        EXPECT_EQ(scripted.spanItems[0], language.firstSpan);
        EXPECT_EQ(scripted.spanSelection, 13);
    }
}

TEST_F(Routing, LanguageSwitchChecksThePortAFailedMarkStandsFor) {
    configBlock.comPort = 4 + PORT_FAILED_MARK;
    EXPECT_TRUE(mainWindowCommand(IDM_LANG_DANISH, 0));
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 4, IDM_LANG_DANISH}));
    EXPECT_EQ(configBlock.comPort, 14) << "the stored number keeps its mark";
    EXPECT_EQ(configFileBytes()[0], 14);
}

TEST_F(Routing, LanguageSwitchGoesOnWhenTheFileCannotBeWritten) {
    unlink(CONFIG_FILE_NAME);
    ASSERT_EQ(mkdir(CONFIG_FILE_NAME, 0755), 0);
    uiSpanSetSelection(2);
    EXPECT_TRUE(mainWindowCommand(IDM_LANG_GERMAN, 0));
    ASSERT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scripted.messageBoxes[0].text,
              "Konfigurationseinstellungen können nicht gelesen werden!: 21");
    EXPECT_EQ(scripted.messageBoxes[0].caption, "Fehler:");
    EXPECT_EQ(scripted.spanSelection, 2);
    EXPECT_EQ(scriptedCount("invalidate|1"), 1);
}

TEST_F(Routing, MenusOfTheThreeLanguagesDifferOnlyInText) {
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

TEST_F(Routing, MenuBarHasFivePopupsThenAboutWithExportInsideFile) {
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
                                 "&Language", "&About"}));
    EXPECT_EQ(scripted.menuBar[3].kind, MENU_POPUP_BEGIN);
    EXPECT_EQ(std::string(scripted.menuBar[3].text), "&Export");
    EXPECT_EQ(scripted.menuBar.back().kind, MENU_ITEM);
    EXPECT_EQ(scripted.menuBar.back().commandId, IDM_ABOUT);
}

TEST_F(Routing, ComItemsNameTheirDevices) {
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
TEST_F(Routing, ComItemOfADeviceTheUserMayNotOpenSaysNoAccess) {
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

TEST_F(Routing, NeedsDataShowsMessage45WithTheCommandsCaption) {
    const struct {
        int caption;
        const char* shown;
    } captions[] = {{46, "Saving data..."}, {47, "Set Time"}, {48, "Screen Dump"}, {49, "Print"}};
    for (const auto& caption : captions) {
        scripted.calls.clear();
        EXPECT_FALSE(commandHasData(caption.caption));
        EXPECT_EQ(scripted.calls, (Strings{std::string("messageBox|No data present,\naborting "
                                                       "operation|") +
                                           caption.shown + "|64"}));
    }
    const struct {
        int command;
        const char* shown;
    } commands[] = {{IDM_EXPORT_ZOOM, "Saving data..."},
                    {IDM_EXPORT_MAIN, "Saving data..."},
                    {IDM_EXPORT_ALL, "Saving data..."},
                    {IDM_SET_TIME, "Set Time"}};
    for (const auto& command : commands) {
        scripted.calls.clear();
        EXPECT_TRUE(mainWindowCommand(command.command, 0));
        EXPECT_EQ(scripted.calls, (Strings{std::string("messageBox|No data present,\naborting "
                                                       "operation|") +
                                           command.shown + "|64"}));
    }
    dataPresent = true;
    scripted.calls.clear();
    EXPECT_TRUE(commandHasData(46));
    EXPECT_TRUE(scripted.calls.empty());
}

TEST_F(Routing, ErrorRuleReportsOnlyAFailure) {
    reportSaveResult(0);
    EXPECT_TRUE(scripted.calls.empty());
    reportSaveResult(ERR_EXPORT_VALUE);
    reportSaveResult(-3);
    EXPECT_EQ(scripted.calls, (Strings{"messageBox|Unable to save data on disc!: 30005|Error:|16",
                                       "messageBox|Unable to save data on disc!: -3|Error:|16"}));
}

} // namespace
