// Print > Printer through the scripted layers: the page's layout in logical
// units, and every failure's own message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "output/printing.h"
#include "res/resource_ids.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/scripted_hardcopy.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"

namespace {

using Strings = std::vector<std::string>;

class PrintCommand : public ConfigDirectoryTest {
  protected:
    void SetUp() override {
        ConfigDirectoryTest::SetUp();
        scriptedReset();
        createDrawingObjects();
        // 6600 samples a second apart from 25/12/2009 10:00:00, 11 a column.
        dataHeader = {100, 0, 6600, {}};
        stampFromStart({2009, 12, 0, 25, 10, 0, 0, 0});
        chartView = {11, 0, 7, 1100, 9, 1100, 100, 0, 0, 0};
        dataPresent = true;
    }
    void TearDown() override {
        dataPresent = false;
        chartView = {};
        ConfigDirectoryTest::TearDown();
    }

    // The three lines of a paper label whose caption stands at (x, y).
    static std::string textsFrom(int x, int y) {
        std::string lines;
        for (const RecordedCall& call : scriptedPrinter.page.calls)
            if (call.kind == RECORDED_TEXT && call.x1 == x && call.y1 >= y && call.y1 <= y + 20 &&
                (call.y1 - y) % 10 == 0)
                lines += std::string(call.text) + "|";
        return lines;
    }
};

// What the page checks of the PDF cannot see: the band's paper edge, the
// labels' paper places, and the screen's end indices left alone.
TEST_F(PrintCommand, ThePageHasItsPaperLayout) {
    EXPECT_TRUE(mainWindowCommand(IDM_PRINT, 0));
    int rectangles = 0;
    for (const RecordedCall& call : scriptedPrinter.page.calls) {
        if (call.kind == RECORDED_RECTANGLE) {
            ++rectangles;
            EXPECT_EQ((std::vector<int>{call.x1, call.y1, call.x2, call.y2}),
                      (std::vector<int>{251, 330, 310, 529}));
        }
    }
    EXPECT_EQ(rectangles, 1) << "the plot areas stay paper white";
    EXPECT_EQ(textsFrom(10, 380), "Start:|25/12-09,|10:00:00|");
    EXPECT_EQ(textsFrom(10, 100), "Start:|25/12-09,|10:18:20|");
    EXPECT_EQ(textsFrom(10, 480), "End:|25/12-09,|11:49:59|");
    EXPECT_EQ(textsFrom(10, 200), "End:|25/12-09,|10:29:18|");
    EXPECT_EQ(chartView.mainEnd, 7);
    EXPECT_EQ(chartView.zoomEnd, 9);
}

TEST_F(PrintCommand, FailuresEachShowTheirOwnMessage) {
    scriptedPrinter.chooseError = 4107;
    mainWindowCommand(IDM_PRINT, 0);
    EXPECT_EQ(scripted.calls,
              (Strings{"printer|choose", "messageBox|Unable to open printer|Error:|16"}));

    scriptedHardcopyReset();
    scriptedPrinter.chosen = false;
    scripted.calls.clear();
    mainWindowCommand(IDM_PRINT, 0);
    EXPECT_EQ(scripted.calls, (Strings{"printer|choose"})) << "a cancel shows nothing";

    for (const char* step : {"startDocument", "startPage", "endPage", "endDocument"}) {
        scriptedHardcopyReset();
        scriptedPrinter.failingStep = step;
        scriptedPrinter.failure = 28;
        scripted.calls.clear();
        mainWindowCommand(IDM_PRINT, 0);
        const std::string failed = std::string("printer|") + step;
        ASSERT_GE(scripted.calls.size(), 3u);
        EXPECT_EQ(scripted.calls[scripted.calls.size() - 3], failed) << "nothing after it";
        EXPECT_EQ(scripted.calls[scripted.calls.size() - 2],
                  "messageBox|Error printing...: 28|Error:|16");
        EXPECT_EQ(scripted.calls.back(), "printer|release");
    }
}

} // namespace
