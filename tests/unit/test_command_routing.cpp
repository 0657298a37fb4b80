// Command routing of the main window: which ids it takes, the About box, and
// the two rules the data commands share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_routing.h"
#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "base/error_codes.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"

namespace {

using Strings = std::vector<std::string>;
using Routing = CreatedMainWindowTest;

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
    } commands[] = {{IDM_EXPORT_ZOOM, "Saving data..."}, {IDM_EXPORT_MAIN, "Saving data..."},
                    {IDM_EXPORT_ALL, "Saving data..."},  {IDM_SET_TIME, "Set Time"},
                    {IDM_ANALYSIS_SUMMARY, "Summary"},   {IDM_ANALYSIS_REPORT, "Report"}};
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
