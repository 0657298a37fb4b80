// The charts drawn on a recording canvas: exact geometry, styles, the curve's
// index arithmetic and the labels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/config_file.h"
#include "data/sample_store.h"
#include "res/text_table.h"
#include "tests/support/recording_canvas.h"
#include "ui/canvas.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"
#include "view/window_layout.h"

namespace {

constexpr uint32_t WHITE = rgb(255, 255, 255);
constexpr uint32_t BLUE = rgb(0, 0, 255);
constexpr uint32_t RED = rgb(255, 0, 0);

struct Line {
    int x1, y1, x2, y2;
    bool operator==(const Line&) const = default;
};

class ChartDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(sampleStore, 0, sizeof sampleStore);
        dataHeader = {};
        dataPresent = false;
        chartView = {};
        configBlock.languageBase = LANG_ENGLISH;
        createDrawingObjects();
        recordingCanvasInit(&canvas, &recording);
    }
    void TearDown() override { configBlock = ConfigBlock{}; }

    std::vector<Line> linesIn(uint32_t colour) const {
        std::vector<Line> lines;
        for (const RecordedCall& call : recording.calls)
            if (call.kind == RECORDED_LINE && call.pen.colour == colour)
                lines.push_back({call.x1, call.y1, call.x2, call.y2});
        return lines;
    }
    std::vector<RecordedCall> ofKind(RecordedKind kind) const {
        std::vector<RecordedCall> calls;
        for (const RecordedCall& call : recording.calls)
            if (call.kind == kind)
                calls.push_back(call);
        return calls;
    }
    const RecordedCall* textAt(int x, int y) const {
        for (const RecordedCall& call : recording.calls)
            if (call.kind == RECORDED_TEXT && call.x1 == x && call.y1 == y)
                return &call;
        return nullptr;
    }
    // Columns of a chart in which some curve line starts or ends.
    static bool touchesColumn(const std::vector<Line>& lines, int x) {
        for (const Line& l : lines)
            if (l.x1 == x || l.x2 == x)
                return true;
        return false;
    }

    void fillValues(uint32_t from, uint32_t to, uint8_t value) {
        for (uint32_t i = from; i < to; ++i)
            sampleStore[i].value = value;
    }

    Recording recording;
    Canvas canvas;
};

TEST_F(ChartDrawing, AxesDrawArrowsAndTicksRelativeToTheOrigin) {
    drawAxes(&canvas, 150, 530);
    const std::vector<Line> lines = linesIn(rgb(0, 0, 0));
    ASSERT_EQ(lines.size(), 9u + 20u + 10u);
    // Each arrow: the shaft, one barb, then the other barb from the tip.
    const std::vector<Line> arrows = {
        {145, 530, 760, 530}, {760, 530, 755, 525}, {760, 530, 755, 535},
        {150, 535, 150, 320}, {150, 320, 155, 325}, {150, 320, 145, 325},
        {750, 535, 750, 320}, {750, 320, 755, 325}, {750, 320, 745, 325},
    };
    EXPECT_EQ(std::vector<Line>(lines.begin(), lines.begin() + 9), arrows);
    // Percent ticks point outwards every 20 pixels; the 50 % tick is the fifth.
    EXPECT_EQ(lines[9], (Line{150, 510, 145, 510}));
    EXPECT_EQ(lines[10], (Line{750, 510, 755, 510}));
    EXPECT_EQ(lines[17], (Line{150, 430, 145, 430}));
    EXPECT_EQ(lines[28], (Line{750, 330, 755, 330}));
    // Time ticks point down; the tenth falls on the right axis.
    EXPECT_EQ(lines[29], (Line{210, 530, 210, 535}));
    EXPECT_EQ(lines[38], (Line{750, 530, 750, 535}));
    for (const RecordedCall& call : ofKind(RECORDED_LINE))
        EXPECT_EQ(call.pen.width, 1);
}

TEST_F(ChartDrawing, AxisLabelsStandBesideTheTicksOnTheWindowColour) {
    drawAxes(&canvas, 150, 250);
    struct Expected {
        const char* text;
        int x, y;
        unsigned align;
    };
    const Expected expected[] = {
        {"P[%]", 145, 40, TA_RIGHT | TA_BOTTOM}, {"50", 140, 157, TA_RIGHT | TA_BOTTOM},
        {"100", 140, 57, TA_RIGHT | TA_BOTTOM},  {"P[%]", 755, 40, TA_LEFT | TA_BOTTOM},
        {"50", 760, 157, TA_LEFT | TA_BOTTOM},   {"100", 760, 57, TA_LEFT | TA_BOTTOM},
        {"t", 750, 255, TA_LEFT | TA_TOP},
    };
    const std::vector<RecordedCall> texts = ofKind(RECORDED_TEXT);
    ASSERT_EQ(texts.size(), std::size(expected));
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_STREQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].x1, expected[i].x);
        EXPECT_EQ(texts[i].y1, expected[i].y);
        EXPECT_EQ(texts[i].align, expected[i].align);
        EXPECT_EQ(texts[i].background, WINDOW_COLOUR);
        EXPECT_TRUE(texts[i].opaque);
        EXPECT_EQ(texts[i].font.height, 15);
        EXPECT_EQ(texts[i].font.weight, 400);
        EXPECT_EQ(texts[i].textColour, rgb(0, 0, 0));
    }
}

TEST_F(ChartDrawing, PaperAxesMatchTheScreenButKeepTheBackground) {
    drawAxesForPrint(&canvas, 150, 530);
    Recording screen;
    Canvas screenCanvas;
    recordingCanvasInit(&screenCanvas, &screen);
    drawAxes(&screenCanvas, 150, 530);
    ASSERT_EQ(recording.calls.size(), screen.calls.size());
    for (size_t i = 0; i < screen.calls.size(); ++i) {
        const RecordedCall& paper = recording.calls[i];
        EXPECT_EQ(paper.x1, screen.calls[i].x1);
        EXPECT_EQ(paper.y2, screen.calls[i].y2);
        if (paper.kind == RECORDED_TEXT) {
            EXPECT_EQ(paper.background, WHITE);
        }
    }
}

TEST_F(ChartDrawing, EveryPrimitiveRestoresTheStateItChanged) {
    const PenDesc pen = {PEN_SOLID, 3, rgb(1, 2, 3)};
    const BrushDesc brush = {rgb(4, 5, 6)};
    const FontDesc font = {33, 700};
    canvasSelectPen(&canvas, &pen);
    canvasSelectBrush(&canvas, &brush);
    canvasSelectFont(&canvas, &font);
    canvasSetTextAlign(&canvas, TA_CENTER);
    canvasSetTextBackground(&canvas, rgb(7, 8, 9));
    fillValues(0, 1000, 201);
    dataHeader.count = 1000;
    dataPresent = true;
    chartView.samplesPerPixel = 1;

    drawAxes(&canvas, 150, 530);
    drawAxesForPrint(&canvas, 150, 530);
    drawCurve(&canvas, 530, 0, 1.0f);
    drawTimeLabel(&canvas, "Start:", sampleStore[0], 10, 430);
    drawTimeLabelForPrint(&canvas, "Start:", sampleStore[0], 10, 430);
    drawNoData(&canvas, 450, 150);
    paintCharts(&canvas);

    EXPECT_EQ(canvas.pen, &pen);
    EXPECT_EQ(canvas.brush, &brush);
    EXPECT_EQ(canvas.font, &font);
    EXPECT_EQ(canvas.textAlign, TA_CENTER);
    EXPECT_EQ(canvas.textBackground, rgb(7, 8, 9));
}

TEST_F(ChartDrawing, WithoutDataThePlotAreasAreWhiteAndSayNoDataPresent) {
    paintCharts(&canvas);

    const std::vector<RecordedCall> rectangles = ofKind(RECORDED_RECTANGLE);
    ASSERT_EQ(rectangles.size(), 2u); // no cursor band
    const int expected[2][4] = {{151, 50, 751, 251}, {151, 330, 751, 531}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rectangles[i].x1, expected[i][0]);
        EXPECT_EQ(rectangles[i].y1, expected[i][1]);
        EXPECT_EQ(rectangles[i].x2, expected[i][2]);
        EXPECT_EQ(rectangles[i].y2, expected[i][3]);
        EXPECT_EQ(rectangles[i].pen.style, PEN_NULL);
        EXPECT_EQ(rectangles[i].brush.colour, WHITE);
    }
    EXPECT_TRUE(linesIn(BLUE).empty());
    EXPECT_TRUE(linesIn(RED).empty());

    for (int y : {150, 430}) {
        const RecordedCall* noData = textAt(450, y);
        ASSERT_NE(noData, nullptr);
        EXPECT_STREQ(noData->text, "No data present");
        EXPECT_EQ(noData->align, TA_CENTER | TA_BOTTOM);
        EXPECT_EQ(noData->background, WHITE);
        EXPECT_EQ(noData->font.height, 15);
    }
    // The labels still show the (all zero) records at the four indices.
    for (int y : {430, 150, 500, 220}) {
        const RecordedCall* caption = textAt(10, y);
        const RecordedCall* stamp = textAt(10, y + 15);
        ASSERT_NE(caption, nullptr);
        ASSERT_NE(stamp, nullptr);
        EXPECT_STREQ(caption->text, y == 430 || y == 150 ? "Start:" : "End:");
        EXPECT_STREQ(stamp->text, "00/00-00, 00:00:00");
        EXPECT_EQ(stamp->align, TA_LEFT | TA_BOTTOM);
        EXPECT_EQ(stamp->background, WINDOW_COLOUR);
    }
}

TEST_F(ChartDrawing, TextsFollowTheActiveLanguage) {
    configBlock.languageBase = LANG_GERMAN;
    paintCharts(&canvas);
    EXPECT_STREQ(textAt(450, 150)->text, "Keine Daten vorhanden");
    EXPECT_STREQ(textAt(10, 430)->text, "Anfang:");
    EXPECT_STREQ(textAt(10, 500)->text, "Ende:");
}

TEST_F(ChartDrawing, CursorBandLiesUnderTheMainCurve) {
    fillValues(0, 6000, 50);
    dataHeader.count = 6000;
    dataPresent = true;
    chartView.samplesPerPixel = 10;
    chartView.cursorX = 100;
    chartView.zoomStart = 1000;
    paintCharts(&canvas);

    const std::vector<RecordedCall> rectangles = ofKind(RECORDED_RECTANGLE);
    ASSERT_EQ(rectangles.size(), 3u);
    const RecordedCall& band = rectangles[2];
    EXPECT_EQ(band.x1, 251);
    EXPECT_EQ(band.y1, 330);
    EXPECT_EQ(band.x2, 310);
    EXPECT_EQ(band.y2, 531);
    EXPECT_EQ(band.pen.style, PEN_NULL);
    EXPECT_EQ(band.brush.colour, rgb(220, 210, 195));
    // Drawn before any curve line.
    size_t bandIndex = 0, firstCurve = 0;
    for (size_t i = 0; i < recording.calls.size(); ++i) {
        if (recording.calls[i].kind == RECORDED_RECTANGLE)
            bandIndex = i;
        if (firstCurve == 0 && recording.calls[i].kind == RECORDED_LINE &&
            recording.calls[i].pen.colour == BLUE)
            firstCurve = i;
    }
    EXPECT_LT(bandIndex, firstCurve);
}

TEST_F(ChartDrawing, ValuesArePlottedTwoPixelsPerPercentWithoutClipping) {
    const uint8_t values[] = {0, 50, 100, 105, 200, 203, 254};
    for (uint32_t i = 0; i < std::size(values); ++i)
        sampleStore[i].value = values[i];
    fillValues(std::size(values), 600, SAMPLE_GAP);
    drawCurve(&canvas, 530, 0, 1.0f);
    const std::vector<Line> lines = linesIn(BLUE);
    ASSERT_EQ(lines.size(), std::size(values) - 1);
    EXPECT_EQ(lines[0], (Line{150, 530, 151, 430}));
    EXPECT_EQ(lines[2], (Line{152, 330, 153, 320})); // 105 % at the arrow tips
    EXPECT_EQ(lines[3], (Line{153, 320, 154, 130})); // 200 % 400 pixels up
    EXPECT_EQ(lines[5], (Line{155, 124, 156, 22}));  // code 254: 508 pixels up
}

TEST_F(ChartDrawing, MarkerDrawsARedLineAndBreaksTheCurve) {
    fillValues(0, 600, 20);
    sampleStore[10].value = 201;
    sampleStore[20].value = 202;
    drawCurve(&canvas, 250, 0, 1.0f);
    const std::vector<Line> red = linesIn(RED);
    EXPECT_EQ(red, (std::vector<Line>{{160, 250, 160, 50}, {170, 250, 170, 50}}));
    const std::vector<Line> blue = linesIn(BLUE);
    EXPECT_FALSE(touchesColumn(blue, 160));
    // The next value starts a new line with a move: nothing joins 159 to 161.
    EXPECT_EQ(blue.size(), 599u - 2u - 2u);
    EXPECT_EQ(blue[8], (Line{158, 210, 159, 210}));
    EXPECT_EQ(blue[9], (Line{161, 210, 162, 210}));
}

TEST_F(ChartDrawing, AValueBetweenTwoGapsLeavesNoMark) {
    fillValues(0, 600, 30);
    sampleStore[100].value = SAMPLE_GAP;
    sampleStore[101].value = 90;
    sampleStore[102].value = SAMPLE_GAP;
    drawCurve(&canvas, 530, 0, 1.0f);
    const std::vector<Line> blue = linesIn(BLUE);
    EXPECT_FALSE(touchesColumn(blue, 250));
    EXPECT_FALSE(touchesColumn(blue, 251));
    EXPECT_FALSE(touchesColumn(blue, 252));
    EXPECT_EQ(blue.size(), 599u - 4u);
}

TEST_F(ChartDrawing, WholeStepsShowEverySthSampleAndEndAtTheWindowsLastSample) {
    for (uint32_t i = 0; i < 3 * 600 + 10; ++i)
        sampleStore[i].value = i % 3 == 0 ? 10 : SAMPLE_GAP;
    fillValues(3 * 600, 3 * 600 + 10, 201);
    EXPECT_EQ(drawCurve(&canvas, 530, 0, 3.0f), 1799);
    EXPECT_EQ(linesIn(BLUE).size(), 599u);
    EXPECT_TRUE(linesIn(RED).empty());
}

TEST_F(ChartDrawing, ZoomStepOfTenColumnsShowsConsecutiveSamples) {
    for (uint32_t i = 0; i < 2000; ++i)
        sampleStore[i].value = uint8_t(i % 100);
    const float step = float(double(10) * double(0.1f));
    EXPECT_EQ(drawCurve(&canvas, 250, 700, step), 700 + 599);
    const std::vector<Line> blue = linesIn(BLUE);
    ASSERT_EQ(blue.size(), 599u);
    for (size_t c = 0; c < blue.size(); ++c)
        ASSERT_EQ(blue[c].y2, 250 - 2 * int((700 + c + 1) % 100)) << "column " << c + 1;
}

// For every whole number of samples per pixel the zoom chart reads only the
// 60 * spp samples under the cursor band: markers placed right after them stay
// unseen, and the end index is the window's last sample at most.
TEST_F(ChartDrawing, ZoomReadsStayUnderTheCursorBandForEveryStep) {
    constexpr int32_t start = 1000;
    for (int32_t spp = 1; spp <= 100; ++spp) {
        SCOPED_TRACE(spp);
        fillValues(start, start + 60 * spp, 40);
        fillValues(start + 60 * spp, start + 60 * spp + 100, 201);
        recording.calls.clear();
        const float step = float(double(spp) * double(0.1f));
        const int32_t zoomEnd = drawCurve(&canvas, 250, start, step);
        EXPECT_TRUE(linesIn(RED).empty());
        EXPECT_LE(zoomEnd, start + 60 * spp - 1);
        EXPECT_GE(zoomEnd, start + 60 * spp - 2);
        if (spp == 10) {
            EXPECT_EQ(zoomEnd, start + 599);
        }
        if (spp == 11) {
            EXPECT_EQ(zoomEnd, start + 658);
        }
        if (spp == 12) {
            EXPECT_EQ(zoomEnd, start + 719);
        }
        recording.calls.clear();
        EXPECT_EQ(drawCurve(&canvas, 530, start, float(spp)), start + 600 * spp - 1);
    }
}

TEST_F(ChartDrawing, IndicesOutsideTheStoreAreGapsAndNeverRead) {
    const uint32_t last = SAMPLE_STORE_CAPACITY - 1;
    fillValues(last - 9, last + 1, 60);
    EXPECT_EQ(drawCurve(&canvas, 530, int32_t(last - 9), 1.0f), int32_t(last - 9 + 599));
    const std::vector<Line> blue = linesIn(BLUE);
    ASSERT_EQ(blue.size(), 9u);
    EXPECT_EQ(blue.back().x2, 159);

    recording.calls.clear();
    fillValues(0, 600, 60);
    EXPECT_EQ(drawCurve(&canvas, 530, -5, 1.0f), 594);
    EXPECT_FALSE(touchesColumn(linesIn(BLUE), 154));
    EXPECT_EQ(linesIn(BLUE).size(), 594u);
}

TEST_F(ChartDrawing, PaintWritesBothEndIndices) {
    fillValues(0, 12000, 50);
    dataHeader.count = 12000;
    dataPresent = true;
    chartView.samplesPerPixel = 11;
    chartView.mainStart = 100;
    chartView.cursorX = 3;
    chartView.zoomStart = 100 + 33;
    paintCharts(&canvas);
    EXPECT_EQ(chartView.mainEnd, 100 + 6600 - 1);
    EXPECT_EQ(chartView.zoomEnd, 133 + 658);
    EXPECT_EQ(linesIn(BLUE).size(), 2u * 599u);
}

TEST_F(ChartDrawing, TimeLabelPrintsEveryByteWhole) {
    const SampleRecord record = {123, 200, 255, 100, 101, 102, 7, 8, 50};
    drawTimeLabel(&canvas, "End:", record, 10, 500);
    ASSERT_EQ(recording.calls.size(), 2u);
    EXPECT_STREQ(recording.calls[1].text, "255/200-123, 100:101:102");
    EXPECT_EQ(recording.calls[1].y1, 515);

    const SampleRecord ordinary = {9, 3, 14, 8, 5, 59, 0, 0, 0};
    drawTimeLabel(&canvas, "Start:", ordinary, 10, 430);
    EXPECT_STREQ(recording.calls[3].text, "14/03-09, 08:05:59");
}

TEST_F(ChartDrawing, PaperTimeLabelHasThreeSmallLines) {
    const SampleRecord record = {9, 12, 31, 23, 59, 7, 0, 0, 0};
    drawTimeLabelForPrint(&canvas, "Start:", record, 20, 300);
    ASSERT_EQ(recording.calls.size(), 3u);
    const char* lines[] = {"Start:", "31/12-09,", "23:59:07"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(recording.calls[i].text, lines[i]);
        EXPECT_EQ(recording.calls[i].y1, 300 + 10 * i);
        EXPECT_EQ(recording.calls[i].font.height, 10);
        EXPECT_EQ(recording.calls[i].align, TA_LEFT | TA_BOTTOM);
        EXPECT_EQ(recording.calls[i].background, WHITE);
    }
}

// Fewer than 600 samples: no whole sample per column, end index -1. The end
// labels then show the nearest stored record, never one outside the store.
TEST_F(ChartDrawing, EndLabelsOfAShortDataSetStayInsideTheStore) {
    dataHeader.count = 5;
    for (uint32_t i = 0; i < 5; ++i) {
        sampleStore[i] = {9, 1, uint8_t(10 + i), 12, 0, 0, 0, 0, 50};
    }
    dataPresent = true;
    paintCharts(&canvas);
    EXPECT_EQ(chartView.mainEnd, -1);
    EXPECT_EQ(chartView.zoomEnd, -1);
    EXPECT_STREQ(textAt(10, 515)->text, "10/01-09, 12:00:00");
    EXPECT_STREQ(textAt(10, 235)->text, "10/01-09, 12:00:00");

    EXPECT_EQ(&timeLabelRecord(-1), &sampleStore[0]);
    EXPECT_EQ(&timeLabelRecord(4), &sampleStore[4]);
    EXPECT_EQ(&timeLabelRecord(5), &sampleStore[4]);
    EXPECT_EQ(&timeLabelRecord(int64_t(1) << 40), &sampleStore[4]);
    dataHeader.count = 0;
    EXPECT_EQ(&timeLabelRecord(7), &sampleStore[0]);
    dataHeader.count = SAMPLE_STORE_CAPACITY + 10; // never trusted beyond the store
    EXPECT_EQ(&timeLabelRecord(SAMPLE_STORE_CAPACITY + 5), &sampleStore[SAMPLE_STORE_CAPACITY - 1]);
}

} // namespace
