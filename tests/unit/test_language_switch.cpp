// Language > English, German, Danish: the six steps of the switch in their
// order, the file written each time, and a switch that goes on when the file
// cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/main_window.h"
#include "base/config_file.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"

namespace {

using Strings = std::vector<std::string>;
using LanguageSwitch = CreatedMainWindowTest;

TEST_F(LanguageSwitch, RunsItsSixStepsInOrder) {
    uiSpanSetSelection(5);
    scripted.calls.clear();

    EXPECT_TRUE(mainWindowCommand(IDM_LANG_GERMAN, 0));
    EXPECT_EQ(scripted.calls, (Strings{
                                  "destroyMenuBar",
                                  "setMenuBar|41",
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

TEST_F(LanguageSwitch, EveryLanguageAndTheOneInUseRunAllSteps) {
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
        EXPECT_EQ(scriptedCount("setMenuBar|41"), 1);
        EXPECT_EQ(scriptedCount("invalidate|1"), 1);
        EXPECT_EQ(configFileBytes().size(), CONFIG_BLOCK_SIZE) << "written every time";
        EXPECT_EQ(configBlock.languageBase, language.base);
        EXPECT_EQ(scripted.spanItems[0], language.firstSpan);
        EXPECT_EQ(scripted.spanSelection, 13);
    }
}

TEST_F(LanguageSwitch, ChecksThePortAFailedMarkStandsFor) {
    configBlock.comPort = 4 + PORT_FAILED_MARK;
    EXPECT_TRUE(mainWindowCommand(IDM_LANG_DANISH, 0));
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 4, IDM_LANG_DANISH}));
    EXPECT_EQ(configBlock.comPort, 14) << "the stored number keeps its mark";
    EXPECT_EQ(configFileBytes()[0], 14);
}

TEST_F(LanguageSwitch, GoesOnWhenTheFileCannotBeWritten) {
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

} // namespace
