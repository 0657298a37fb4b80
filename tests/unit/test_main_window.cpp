// The main window through the scripted front end: start-up, the stored
// settings it meets, close versus Exit, and destruction. Ports are steered
// with KORVEX_COMn: a pseudo-terminal is a port that opens, a missing path
// one that does not. Each test runs in a fresh working directory.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/main_window.h"
#include "base/config_file.h"
#include "link/command_queue.h"
#include "link/device_codes.h"
#include "link/protocol_engine.h"
#include "link/tx_ring.h"
#include "platform/serial_link.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "view/drawing_objects.h"

namespace {

using Strings = std::vector<std::string>;

TEST_F(MainWindowTest, FirstStartCreatesTheFileOpensCom1AndChecksIt) {
    std::string device = attachPseudoTerminal(1);
    mainWindowCreate();

    EXPECT_EQ(scripted.calls, (Strings{
                                  "setMenuBar|41",
                                  "checkMenuItem|2001|1",
                                  "checkMenuItem|2020|1",
                                  "startTimer|50|50",
                                  "startTimer|100|100",
                                  "spanSetItems|14",
                                  "spanSetSelection|0",
                                  "scrollShow|0",
                              }));
    EXPECT_EQ(configFileBytes(), defaultConfigImage());
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(configBlock.comPort, 1);
    EXPECT_EQ(std::string(scriptedMenuItem(IDM_COM_BASE + 1)->text), "COM &1\t" + device);
    EXPECT_EQ(scripted.spanItems.front(), "2 minutes");
    EXPECT_EQ(scripted.spanItems.back(), "12 days");
    EXPECT_EQ(scripted.spanSelection, 0);
    EXPECT_FALSE(scripted.scrollVisible);
    EXPECT_EQ(labelFont.height, 15) << "drawing objects created";
}

TEST_F(MainWindowTest, FailedPortIsReportedOnceAndStillChecked) {
    mainWindowCreate();

    EXPECT_EQ(scriptedCount("messageBox|Comm Port occupied or non-existing|Communication|16"), 1);
    EXPECT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scripted.calls.front().rfind("messageBox|", 0), 0u) << "before the menu";
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(configBlock.comPort, 1);
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 1, IDM_LANG_ENGLISH}));
}

TEST_F(MainWindowTest, StoredFailedMarkOpensThePortItMarks) {
    std::vector<uint8_t> image = defaultConfigImage();
    image[0] = 3 + PORT_FAILED_MARK;
    writeConfigFile(image);
    attachPseudoTerminal(3);
    mainWindowCreate();

    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(configBlock.comPort, 3);
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 3, IDM_LANG_ENGLISH}));
    EXPECT_EQ(configFileBytes(), image) << "the file waits for the next write";
}

TEST_F(MainWindowTest, StoredFailedMarkOfAPortThatStillFails) {
    std::vector<uint8_t> image = defaultConfigImage();
    image[0] = 5 + PORT_FAILED_MARK;
    writeConfigFile(image);
    mainWindowCreate();

    EXPECT_EQ(scriptedCount("messageBox|Comm Port occupied or non-existing|Communication|16"), 1);
    EXPECT_EQ(configBlock.comPort, 5);
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 5, IDM_LANG_ENGLISH}));
}

TEST_F(MainWindowTest, SettingsTheProgramNeverWritesFallBackInMemoryOnly) {
    for (uint16_t port : {0, 9, 10, 19, 0x0101, 0xFFFF}) {
        SCOPED_TRACE(testing::Message() << "port " << port);
        resetWindow();
        std::vector<uint8_t> image = defaultConfigImage();
        image[0] = uint8_t(port);
        image[1] = uint8_t(port >> 8);
        image[260] = 150;
        writeConfigFile(image);
        attachPseudoTerminal(1);
        mainWindowCreate();

        EXPECT_TRUE(scripted.messageBoxes.empty());
        EXPECT_TRUE(linkIsOpen());
        EXPECT_EQ(configBlock.comPort, 1);
        EXPECT_EQ(configBlock.languageBase, 0);
        EXPECT_EQ(std::string(scripted.menuBar.front().text), "&File");
        EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 1, IDM_LANG_ENGLISH}));
        EXPECT_EQ(configFileBytes(), image);
    }
}

TEST_F(MainWindowTest, StoredLanguageGivesMenuSpansAndCheckMark) {
    std::vector<uint8_t> image = defaultConfigImage();
    image[0] = 2;
    image[260] = 200;
    writeConfigFile(image);
    attachPseudoTerminal(2);
    mainWindowCreate();

    EXPECT_EQ(std::string(scripted.menuBar.front().text), "&Fil");
    EXPECT_EQ(scripted.spanItems[13], "12 dage");
    EXPECT_EQ(scriptedCheckedItems(), (std::vector<int>{IDM_COM_BASE + 2, IDM_LANG_DANISH}));
}

TEST_F(MainWindowTest, UnreadableConfigurationIsReportedAndDefaultsUsed) {
    writeConfigFile({});
    attachPseudoTerminal(1);
    mainWindowCreate();

    ASSERT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scripted.calls.front(),
              "messageBox|Error opening configuration file: 30003|Error:|16");
    EXPECT_EQ(configBlock.comPort, 1);
    EXPECT_TRUE(linkIsOpen());
}

TEST_F(MainWindowTest, ShortConfigurationInAnotherLanguageIsReportedInIt) {
    // Only the port arrives; the language stays English.
    writeConfigFile({4, 0, 0, 0});
    attachPseudoTerminal(4);
    mainWindowCreate();

    ASSERT_EQ(scripted.messageBoxes.size(), 1u);
    EXPECT_EQ(scripted.messageBoxes[0].text, "Error opening configuration file: 30003");
    EXPECT_EQ(configBlock.comPort, 4);
    EXPECT_EQ(configBlock.languageBase, 0);
}

TEST_F(MainWindowTest, ReplyEventsAreCreatedAndReleased) {
    mainWindowCreate();
    mainWindowCreateEvents();
    EXPECT_NE(pingReplyEvent.load(), nullptr);
    EXPECT_NE(countReplyEvent.load(), nullptr);
    EXPECT_NE(pingReplyEvent.load(), countReplyEvent.load());
    EXPECT_EQ(scripted.messageBoxes.size(), 1u) << "only the port message";

    mainWindowClose();
    EXPECT_EQ(pingReplyEvent.load(), nullptr);
    EXPECT_EQ(countReplyEvent.load(), nullptr);
}

TEST_F(MainWindowTest, CloseWritesTheConfigurationStopsThePumpAndDestroys) {
    attachPseudoTerminal(1);
    mainWindowCreate();
    mainWindowCreateEvents();
    unlink(CONFIG_FILE_NAME);
    scripted.calls.clear();

    mainWindowClose();
    EXPECT_EQ(scripted.calls, (Strings{"stopTimer|50", "destroyMainWindow", "destroyMenuBar"}));
    EXPECT_EQ(configFileBytes(), defaultConfigImage());
    EXPECT_EQ(scripted.runningTimers.count(IDT_PROGRESS), 0u) << "ends with the window";
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(labelFont.height, 0) << "drawing objects released";
}

TEST_F(MainWindowTest, ExitDestroysWithoutWritingOrStoppingThePump) {
    attachPseudoTerminal(1);
    mainWindowCreate();
    mainWindowCreateEvents();
    unlink(CONFIG_FILE_NAME);
    scripted.calls.clear();

    EXPECT_TRUE(mainWindowCommand(IDM_EXIT, 0));
    EXPECT_EQ(scripted.calls, (Strings{"destroyMainWindow", "destroyMenuBar"}));
    EXPECT_TRUE(configFileBytes().empty()) << "no file written";
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(pingReplyEvent.load(), nullptr);
}

TEST_F(MainWindowTest, FailedPortMarkReachesTheFileAtClose) {
    mainWindowCreate();
    // What choosing COM3 from the menu leaves when it cannot be opened.
    configBlock.comPort = 3 + PORT_FAILED_MARK;
    mainWindowClose();
    std::vector<uint8_t> image = defaultConfigImage();
    image[0] = 13;
    EXPECT_EQ(configFileBytes(), image);
}

TEST_F(MainWindowTest, CloseGoesOnWhenTheConfigurationCannotBeWritten) {
    attachPseudoTerminal(1);
    mainWindowCreate();
    unlink(CONFIG_FILE_NAME);
    ASSERT_EQ(mkdir(CONFIG_FILE_NAME, 0755), 0);
    scripted.calls.clear();

    mainWindowClose();
    EXPECT_EQ(scripted.calls.front(), "messageBox|Error opening configuration file: 21|Error:|16");
    EXPECT_EQ(scriptedCount("stopTimer|50"), 1);
    EXPECT_TRUE(scripted.mainWindowDestroyed);
}

TEST_F(MainWindowTest, DestroyingTwiceReleasesOnce) {
    attachPseudoTerminal(1);
    mainWindowCreate();
    mainWindowCreateEvents();
    mainWindowDestroy();
    mainWindowDestroy();
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(pingReplyEvent.load(), nullptr);
    EXPECT_EQ(countReplyEvent.load(), nullptr);
}

TEST_F(MainWindowTest, OnlyThePumpTimerSendsQueuedCodes) {
    mainWindowCreate();
    ASSERT_TRUE(commandQueueEmpty());
    ASSERT_TRUE(queueCode(DEV_STOP));
    mainWindowTimer(IDT_PROGRESS);
    EXPECT_FALSE(commandQueueEmpty());
    mainWindowTimer(IDT_PUMP);
    EXPECT_TRUE(commandQueueEmpty());
    uint8_t sent[TX_RING_SIZE];
    EXPECT_EQ(txRingTake(sent), 6u) << "one frame";
}

} // namespace
