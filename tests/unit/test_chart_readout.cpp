// The readout under the mouse against the drawing itself: for every column
// of both charts, the sample the readout names is the one whose value the
// curve was drawn at on the recording canvas, at the zoom chart's 1.1f step
// too; markers and gaps read as words of the active language.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "base/config_file.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "res/text_table.h"
#include "tests/support/recording_canvas.h"
#include "view/chart_drawing.h"
#include "view/chart_readout.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"

namespace {

class ChartReadoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Neighbouring samples differ, so a column one sample off reads wrong.
        for (uint32_t i = 0; i < 200000; ++i)
            sampleStore[i].value = uint8_t(i % 199);
        dataHeader = {10, 0, 200000, {}};
        stampFromStart({2009, 12, 0, 25, 14, 30, 5, 0});
        dataPresent = true;
        // 11 samples per column: the zoom chart steps by 1.1f.
        chartView = {11, 12345, 0, 12345 + 77 * 11, 0, 77 * 11, 77, 0, 0, 0};
        configBlock.languageBase = LANG_ENGLISH;
        createDrawingObjects();
    }
    void TearDown() override {
        dataPresent = false;
        chartView = {};
        configBlock = ConfigBlock{};
    }

    // The value each column's curve point was drawn at, as paintCharts draws
    // the chart on baseline from start.
    static std::map<int, int> drawnValues(int baseline, uint32_t start, float step) {
        Recording recording;
        Canvas canvas;
        recordingCanvasInit(&canvas, &recording);
        drawCurve(&canvas, baseline, int32_t(start), step);
        std::map<int, int> values;
        for (const RecordedCall& call : recording.calls) {
            values[call.x1] = (baseline - call.y1) / 2;
            values[call.x2] = (baseline - call.y2) / 2;
        }
        return values;
    }
};

TEST_F(ChartReadoutTest, EveryColumnNamesTheSampleTheCurveWasDrawnAt) {
    const struct {
        int y, baseline;
        uint32_t start;
        float step;
    } charts[] = {{400, MAIN_BASELINE, chartView.mainStart, 11.0f},
                  {100, ZOOM_BASELINE, chartView.zoomStart, zoomStep(11)}};
    for (const auto& chart : charts) {
        const std::map<int, int> drawn = drawnValues(chart.baseline, chart.start, chart.step);
        ASSERT_EQ(drawn.size(), size_t(CHART_COLUMNS));
        for (int column = 0; column < CHART_COLUMNS; ++column) {
            ChartReadout readout;
            ASSERT_TRUE(chartReadoutAt(CHART_LEFT + column, chart.y, &readout));
            EXPECT_EQ(readout.column, column);
            EXPECT_EQ(sampleStore[readout.index].value, drawn.at(CHART_LEFT + column))
                << "column " << column << " of the chart at y " << chart.y;
        }
    }
    // The zoom chart's last column shows its end sample, 658 on, not 659, by
    // the single-precision step; 13,850 samples at 0.10 s from 14:30:05.
    ChartReadout last;
    ASSERT_TRUE(chartReadoutAt(749, 50, &last));
    EXPECT_EQ(last.index, chartView.zoomStart + 658);
    EXPECT_STREQ(last.text, "25/12-09, 14:53:10.00\n119 %");
}

TEST_F(ChartReadoutTest, MarkersAndGapsReadAsWordsOutsideThePlotAreasNothing) {
    ChartReadout readout;
    ASSERT_TRUE(chartReadoutAt(160, 529, &readout));
    sampleStore[readout.index].value = SAMPLE_MARKER_MAX;
    ASSERT_TRUE(chartReadoutAt(170, 330, &readout));
    sampleStore[readout.index].value = SAMPLE_GAP;
    std::map<int, int> drawn = drawnValues(MAIN_BASELINE, chartView.mainStart, 11.0f);
    EXPECT_EQ(drawn.at(160), 100) << "the marker's line up to 100 %";
    EXPECT_EQ(drawn.count(170), 0u) << "nothing drawn for the gap";
    const char* words[][2] = {{"marker", "gap"},
                              {"Marker", "L\xC3\xBC"
                                         "cke"},
                              {"mark\xC3\xB8r", "hul"}};
    for (uint16_t base : {LANG_ENGLISH, LANG_GERMAN, LANG_DANISH}) {
        configBlock.languageBase = base;
        ASSERT_TRUE(chartReadoutAt(160, 400, &readout));
        EXPECT_EQ(std::string(std::strchr(readout.text, '\n') + 1), words[base / 100][0]);
        ASSERT_TRUE(chartReadoutAt(170, 400, &readout));
        EXPECT_EQ(std::string(std::strchr(readout.text, '\n') + 1), words[base / 100][1]);
    }
    for (const auto& [x, y] :
         {std::pair{149, 100}, {750, 100}, {300, 49}, {300, 250}, {300, 329}, {300, 530}})
        EXPECT_FALSE(chartReadoutAt(x, y, &readout)) << x << ", " << y;
    dataPresent = false;
    EXPECT_FALSE(chartReadoutAt(300, 400, &readout));
}

} // namespace
