// Chart navigation through the scripted front end: span choices where the
// integer arithmetic decides, the scroll codes, and the cursor drag's limits.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"
#include "view/chart_view.h"
#include "view/navigation.h"

namespace {

constexpr int TWO_MINUTES = 0, TWENTY_MINUTES = 3, ONE_HOUR = 5;

class Navigation : public ::testing::Test {
  protected:
    void SetUp() override {
        scriptedReset();
        scripted.spanItems.assign(14, "span");
        chartView = {};
        dataHeader = {};
        dataPresent = false;
    }

    // New data as a transfer leaves it, span 7 selected.
    void newData(uint32_t count, uint16_t interval) {
        dataHeader = {interval, 7, count, {}};
        resetChartView();
    }
    // Opens the list and chooses span; true when the span was taken.
    bool chooseSpan(int span) {
        mainWindowCommand(IDC_SPAN_COMBO, CBN_DROPDOWN);
        uiSpanSetSelection(span);
        scripted.calls.clear();
        scripted.invalidations = 0;
        mainWindowCommand(IDC_SPAN_COMBO, CBN_SELENDOK);
        return scripted.spanSelection == span;
    }
    int32_t scrollWith(int code, int32_t trackPos = 0) {
        scripted.scroll.nTrackPos = trackPos;
        onChartScroll(code);
        return scripted.scroll.nPos;
    }
};

TEST_F(Navigation, SpanSamplesAreDividedFirstThenDoubled) {
    EXPECT_TRUE(chooseSpan(ONE_HOUR)) << "without data the name stays";
    EXPECT_EQ(scripted.calls, std::vector<std::string>{"focusMainWindow"});
    const struct {
        uint16_t interval;
        int span;
        uint32_t count;
        int samplesPerPixel; // 0: refused
    } cases[] = {
        {1, TWO_MINUTES, 20000, 20},    {2, TWO_MINUTES, 20000, 10},
        {3, TWO_MINUTES, 20000, 0},     // 4,000 samples
        {9, TWENTY_MINUTES, 13332, 22}, // 13,332 = count: nothing to scroll
        {9, TWENTY_MINUTES, 13331, 0},  {0, ONE_HOUR, 20000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.interval) + " / " + std::to_string(c.count));
        newData(c.count, c.interval);
        EXPECT_EQ(chooseSpan(c.span), c.samplesPerPixel != 0);
        EXPECT_EQ(scripted.calls.back(), "focusMainWindow");
        EXPECT_EQ(scripted.invalidations, c.samplesPerPixel != 0 ? 1 : 0);
        EXPECT_EQ(chartView.samplesPerPixel,
                  c.samplesPerPixel != 0 ? c.samplesPerPixel : int(c.count / 600));
        if (c.samplesPerPixel != 0)
            EXPECT_EQ(scripted.scrollVisible, c.count != 13332);
        else
            EXPECT_EQ(scripted.spanSelection, 7) << "back to the span shown before";
    }
}

TEST_F(Navigation, SpanStartsAtTheZoomWindowOrEndsInsideTheData) {
    newData(504000, 2);
    chartView.zoomStart = 300000;
    ASSERT_TRUE(chooseSpan(TWO_MINUTES)); // 6,000 samples, 10 per column
    EXPECT_EQ(chartView.mainStart, 300000u);
    EXPECT_EQ(scripted.scroll.nMax, 49800);
    EXPECT_EQ(scripted.scroll.nPage, 592u);
    EXPECT_EQ(scripted.scroll.nPos, 29642) << "300,000 x 49,800 needs 64 bits";

    // At interval 7 the span is 17,142 samples and 16,800 of them are drawn.
    newData(100000, 7);
    chartView.zoomStart = 95000;
    ASSERT_TRUE(chooseSpan(TWENTY_MINUTES));
    EXPECT_EQ(chartView.mainStart, 100000u - 17142u);
    EXPECT_EQ(chartView.zoomStart, chartView.mainStart);
    // The track's end shows the last record, though 100,000 x 2,453 / 2,959
    // stops 301 samples short of it.
    const int32_t end = scripted.scroll.nMax - int32_t(scripted.scroll.nPage) + 1;
    EXPECT_EQ(scrollWith(SB_THUMBTRACK, end), end);
    EXPECT_EQ(chartView.mainStart + 600u * 28u - 1u, 99999u);
    EXPECT_EQ(scrollWith(SB_LINELEFT), end - 1);
    EXPECT_EQ(chartView.mainStart, 100000u * uint32_t(end - 1) / 2959u);
}

TEST_F(Navigation, ScrollCodesMoveThePositionByTheirRules) {
    newData(100000, 10);
    ASSERT_TRUE(chooseSpan(TWENTY_MINUTES)); // 12,000 samples, 20 per column
    const int32_t lastFull = scripted.scroll.nMax - int32_t(scripted.scroll.nPage);
    ASSERT_EQ(scripted.scroll.nMax, 4400);
    EXPECT_EQ(scrollWith(SB_LINELEFT), 0);
    EXPECT_EQ(scrollWith(SB_PAGERIGHT), 32);
    EXPECT_EQ(scrollWith(SB_PAGELEFT), 0);
    EXPECT_EQ(scrollWith(SB_THUMBTRACK, 2000), 2000);
    EXPECT_EQ(chartView.mainStart, 100000u * 2000u / 4400u);
    EXPECT_EQ(scrollWith(SB_LINELEFT), 1999);
    EXPECT_EQ(scrollWith(SB_ENDSCROLL), 1999);
    EXPECT_EQ(scrollWith(SB_THUMBPOSITION, lastFull - 30), lastFull - 30);
    EXPECT_EQ(scrollWith(SB_PAGERIGHT), lastFull + 1) << "less than a page left";
    scrollWith(SB_THUMBTRACK, lastFull);
    EXPECT_EQ(scrollWith(SB_LINERIGHT), lastFull + 1);
    EXPECT_EQ(scrollWith(SB_LINERIGHT), lastFull + 1);
    EXPECT_EQ(chartView.mainStart, 100000u - 12000u);
    // The band keeps its place in the chart while the window moves under it.
    chartView.zoomOffset = 270 * 20;
    scrollWith(SB_THUMBTRACK, 100);
    EXPECT_EQ(chartView.zoomStart, chartView.mainStart + 270u * 20u);
    EXPECT_EQ(scripted.calls.back(), "invalidate|0");
}

TEST_F(Navigation, TheBandIsDraggedInsideItsLimitsOnly) {
    newData(60000, 10); // 100 samples per column
    chartView.cursorX = 100;
    for (auto [x, y] : {std::pair{260, 330}, {260, 530}, {249, 400}, {311, 400}}) {
        onCursorButtonDown(uint16_t(x), uint16_t(y));
        EXPECT_EQ(chartView.dragStartX, 0) << x << ", " << y;
    }
    onCursorButtonDown(250, 331); // the band's left margin
    onCursorMove(300);
    EXPECT_EQ(chartView.cursorX, 150);
    EXPECT_EQ(chartView.zoomStart, 15000u);
    onCursorMove(120); // would be -30: ignored, not clamped
    EXPECT_EQ(chartView.cursorX, 150);
    onCursorMove(690); // 540, the right end
    onCursorMove(691);
    onCursorMove(65535); // left of the window, as the message's word carries it
    EXPECT_EQ(chartView.cursorX, 540);
    onCursorButtonUp();
    onCursorMove(400);
    EXPECT_EQ(chartView.cursorX, 540) << "no drag after the release";
    dataPresent = false;
    onCursorButtonDown(700, 400);
    EXPECT_EQ(chartView.dragStartX, 0) << "no drag without data";
}

} // namespace
