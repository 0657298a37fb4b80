// Print > Screen dump through the scripted layers: the save dialog, the file
// of the layout, and every failure's message and what it leaves on disk.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/scripted_hardcopy.h"

namespace {

std::string fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The dump is written in the test's own working directory.
class ScreenDumpCommand : public ConfigDirectoryTest {
  protected:
    void SetUp() override {
        ConfigDirectoryTest::SetUp();
        scriptedReset();
        dataPresent = true;
    }
    void TearDown() override {
        dataPresent = false;
        ConfigDirectoryTest::TearDown();
    }
};

TEST_F(ScreenDumpCommand, WritesTheLayoutOrLeavesTheOldFile) {
    scripted.fileAnswers.push_back({true, "dump.bmp", 0});
    mainWindowCommand(IDM_SCREEN_DUMP, 0);
    ASSERT_EQ(scripted.fileDialogs.size(), 1u);
    EXPECT_EQ(scripted.fileDialogs[0].filterName, "Bitmap File (*.bmp)");
    EXPECT_EQ(scripted.fileDialogs[0].filterPattern, "*.bmp");
    EXPECT_EQ(scripted.fileDialogs[0].defaultExtension, "bmp");
    EXPECT_TRUE(scripted.fileDialogs[0].overwritePrompt);
    EXPECT_TRUE(scripted.messageBoxes.empty());
    const std::string old = fileBytes("dump.bmp");
    ASSERT_EQ(old.size(), 54u + 2 * 12) << "3 x 2 at 24 bits: rows of 9 bytes padded to 12";

    struct Case {
        const char* what;
        ScriptedScreen screen;
        ScriptedFileAnswer answer;
        const char* message; // empty: none
        size_t dialogs;
    };
    const Case cases[] = {
        {"nothing captured",
         {false, {3, 2, 1, 24}, true},
         {},
         "Error retrieving BMP-color format",
         0},
        {"past 4 GiB",
         {true, {70000, 70000, 1, 32}, true},
         {},
         "Error allocating memory for bitmap",
         0},
        {"cancelled", {}, {false, "", 0}, "", 1},
        {"dialog failed", {}, {false, "", 0x3003}, "Error creating the BMP-file: 12291", 1},
        {"no such folder", {}, {true, "none/dump.bmp", 0}, "Error creating the BMP-file: 2", 1},
        {"pixels unreadable",
         {true, {3, 2, 1, 24}, false},
         {true, "dump.bmp", 0},
         "Error retrieving color table information",
         1},
    };
    for (const Case& c : cases) {
        scriptedReset();
        scriptedScreen = c.screen;
        scripted.fileAnswers.push_back(c.answer);
        mainWindowCommand(IDM_SCREEN_DUMP, 0);
        EXPECT_EQ(scripted.fileDialogs.size(), c.dialogs) << c.what;
        if (c.message[0] == '\0') {
            EXPECT_TRUE(scripted.messageBoxes.empty()) << c.what;
        } else {
            ASSERT_EQ(scripted.messageBoxes.size(), 1u) << c.what;
            EXPECT_EQ(scripted.messageBoxes[0].text, c.message);
            EXPECT_EQ(scripted.messageBoxes[0].caption, "Screen Dump");
        }
        EXPECT_EQ(fileBytes("dump.bmp"), old) << c.what;
    }
}

} // namespace
