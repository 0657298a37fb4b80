// The view reset after new data.
#include <gtest/gtest.h>

#include "data/sample_store.h"
#include "tests/support/scripted_frontend.h"
#include "view/chart_view.h"

namespace {

class ChartViewReset : public ::testing::Test {
  protected:
    void SetUp() override {
        scriptedReset();
        dataPresent = false;
        dataHeader = {};
        chartView = {17, 5000, 123, 5300, 456, 300, 30, 0, 0, 2};
        scripted.spanItems.assign(14, "span");
        scripted.spanSelection = 2;
        scripted.scrollVisible = true;
        scripted.scroll = {0, 80, 10, 40, 0};
    }
};

TEST_F(ChartViewReset, ShowsAllSamplesWithTheCursorAtTheLeftEnd) {
    dataHeader.count = 6599;
    dataHeader.amountIndex = 5;
    resetChartView();
    EXPECT_TRUE(dataPresent);
    EXPECT_EQ(chartView.samplesPerPixel, 10); // truncated: 599 samples stay unseen
    EXPECT_EQ(chartView.mainStart, 0u);
    EXPECT_EQ(chartView.zoomStart, 0u);
    EXPECT_EQ(chartView.zoomOffset, 0u);
    EXPECT_EQ(chartView.cursorX, 0u);
    EXPECT_EQ(scripted.erasingInvalidations, 1);
    EXPECT_EQ(scripted.spanSelection, 5);
    EXPECT_FALSE(scripted.scrollVisible);
    // The scroll information is left as it was.
    EXPECT_EQ(scripted.scroll.nMax, 80);
    EXPECT_EQ(scripted.scroll.nPos, 40);
}

TEST_F(ChartViewReset, FewerThan600SamplesGiveNoWholeSamplePerColumn) {
    dataHeader.count = 599;
    resetChartView();
    EXPECT_EQ(chartView.samplesPerPixel, 0);
    dataHeader.count = 1048576;
    resetChartView();
    EXPECT_EQ(chartView.samplesPerPixel, 1747);
}

TEST_F(ChartViewReset, ASpanTheSelectorLacksSelectsNothing) {
    dataHeader.count = 6000;
    dataHeader.amountIndex = 13;
    resetChartView();
    EXPECT_EQ(scripted.spanSelection, 13);
    dataHeader.amountIndex = 14;
    resetChartView();
    EXPECT_EQ(scripted.spanSelection, -1);
}

} // namespace
