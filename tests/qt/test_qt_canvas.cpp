// The Qt canvas backend checked by pixels: GDI's line, rectangle and text
// rules, and one full paint of both charts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstring>

#include "base/config_file.h"
#include "data/sample_store.h"
#include "frontend/qt/qt_canvas.h"
#include "tests/qt/qt_test_application.h"
#include "ui/canvas.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"
#include "view/window_layout.h"

namespace {

const QRgb WHITE = qRgb(255, 255, 255);
const QRgb BLACK = qRgb(0, 0, 0);
const QRgb BLUE = qRgb(0, 0, 255);
const QRgb RED = qRgb(255, 0, 0);
const QRgb BACKGROUND = qRgb(195, 180, 160);

class QtCanvas : public ::testing::Test {
  protected:
    void SetUp() override {
        qtTestApplication();
        image = QImage(CLIENT_WIDTH, CLIENT_HEIGHT, QImage::Format_RGB32);
        image.fill(BACKGROUND);
        createDrawingObjects();
    }
    void draw(void (*drawing)(Canvas*)) {
        QPainter painter(&image);
        Canvas canvas;
        qtCanvasInit(&canvas, &painter);
        drawing(&canvas);
    }
    QRgb at(int x, int y) const { return image.pixel(x, y); }
    int darkPixelsIn(int left, int top, int right, int bottom) const {
        int dark = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                if (qGray(image.pixel(x, y)) < 100)
                    ++dark;
        return dark;
    }

    QImage image;
};

TEST_F(QtCanvas, LinesLeaveOutTheirEndPixel) {
    draw([](Canvas* canvas) {
        canvasSelectPen(canvas, &axisPen);
        canvasMoveTo(canvas, 10, 10);
        canvasLineTo(canvas, 20, 10); // horizontal
        canvasMoveTo(canvas, 10, 30);
        canvasLineTo(canvas, 10, 40); // vertical
        canvasMoveTo(canvas, 50, 50);
        canvasLineTo(canvas, 45, 45); // diagonal, up and left
        canvasMoveTo(canvas, 60, 40);
        canvasLineTo(canvas, 60, 30); // vertical, upwards
        canvasMoveTo(canvas, 100, 100);
        canvasLineTo(canvas, 101, 110); // a curve step: half in each column
        canvasMoveTo(canvas, 201, 110);
        canvasLineTo(canvas, 200, 100); // the same, drawn back
    });
    EXPECT_EQ(at(10, 10), BLACK);
    EXPECT_EQ(at(19, 10), BLACK);
    EXPECT_EQ(at(20, 10), BACKGROUND);
    EXPECT_EQ(at(10, 39), BLACK);
    EXPECT_EQ(at(10, 40), BACKGROUND);
    EXPECT_EQ(at(50, 50), BLACK);
    EXPECT_EQ(at(46, 46), BLACK);
    EXPECT_EQ(at(45, 45), BACKGROUND);
    EXPECT_EQ(at(60, 40), BLACK);
    EXPECT_EQ(at(60, 31), BLACK);
    EXPECT_EQ(at(60, 30), BACKGROUND);
    EXPECT_EQ(at(11, 11), BACKGROUND); // one pixel wide, no antialiasing
    EXPECT_EQ(at(100, 100), BLACK);
    EXPECT_EQ(at(100, 104), BLACK);
    EXPECT_EQ(at(101, 105), BLACK);
    EXPECT_EQ(at(101, 109), BLACK);
    EXPECT_EQ(at(101, 110), BACKGROUND);
    EXPECT_EQ(at(201, 110), BLACK);
    EXPECT_EQ(at(200, 101), BLACK);
    EXPECT_EQ(at(200, 100), BACKGROUND);
}

TEST_F(QtCanvas, NullPenRectangleFillsOnePixelShort) {
    draw([](Canvas* canvas) {
        canvasSelectPen(canvas, &nullPen);
        canvasSelectBrush(canvas, &cursorBrush);
        canvasRectangle(canvas, 100, 200, 110, 190); // corners in any order
    });
    const QRgb band = qRgb(220, 210, 195);
    EXPECT_EQ(at(100, 190), band);
    EXPECT_EQ(at(108, 198), band);
    EXPECT_EQ(at(109, 198), BACKGROUND);
    EXPECT_EQ(at(108, 199), BACKGROUND);
    EXPECT_EQ(at(99, 195), BACKGROUND);
}

TEST_F(QtCanvas, TextCellHasTheFontHeightAndFollowsTheAlignment) {
    draw([](Canvas* canvas) {
        canvasSelectFont(canvas, &labelFont);
        canvasSetTextBackground(canvas, rgb(255, 255, 0));
        canvasSetTextAlign(canvas, TA_RIGHT | TA_BOTTOM);
        canvasTextOut(canvas, 300, 100, "Wg");
    });
    const QRgb yellow = qRgb(255, 255, 0);
    // The opaque cell: 15 rows ending above y = 100, ending left of x = 300.
    EXPECT_EQ(at(299, 85), yellow);
    EXPECT_EQ(at(299, 99), yellow);
    EXPECT_EQ(at(299, 84), BACKGROUND);
    EXPECT_EQ(at(299, 100), BACKGROUND);
    EXPECT_EQ(at(300, 90), BACKGROUND);
    EXPECT_GT(darkPixelsIn(270, 85, 299, 99), 10);
}

void paintWithData(Canvas* canvas) {
    std::memset(sampleStore, 0, sizeof sampleStore);
    for (uint32_t i = 0; i < 6000; ++i)
        sampleStore[i].value = 50;
    sampleStore[3000].value = SAMPLE_MARKER_MIN; // column 300 of the main chart
    dataHeader.count = 6000;
    resetChartView();
    paintCharts(canvas);
}

TEST_F(QtCanvas, ChartsWithDataShowAxesCurvesMarkersAndTheBand) {
    draw(paintWithData);
    EXPECT_EQ(at(5, 5), BACKGROUND);
    EXPECT_EQ(at(400, 100), WHITE);               // zoom plot area
    EXPECT_EQ(at(400, 350), WHITE);               // main plot area, right of the band
    EXPECT_EQ(at(180, 350), qRgb(220, 210, 195)); // the cursor band
    EXPECT_EQ(at(400, 530), BLACK);               // main time axis
    EXPECT_EQ(at(150, 400), BLACK);               // left percent axis
    EXPECT_EQ(at(750, 100), BLACK);               // right percent axis of the zoom chart
    EXPECT_EQ(at(400, 430), BLUE);                // 50 % on the main chart
    EXPECT_EQ(at(400, 150), BLUE);                // 50 % on the zoom chart
    EXPECT_EQ(at(450, 400), RED);                 // the marker's vertical line
    EXPECT_EQ(at(450, 331), RED);                 // up to the 100 % level ...
    EXPECT_EQ(at(450, 330), WHITE);               // ... which LineTo leaves out
}

void paintWithoutData(Canvas* canvas) {
    std::memset(sampleStore, 0, sizeof sampleStore);
    dataPresent = false;
    dataHeader = {};
    chartView = {};
    configBlock.languageBase = 0;
    paintCharts(canvas);
}

TEST_F(QtCanvas, EmptyChartsSayNoDataPresent) {
    draw(paintWithoutData);
    EXPECT_EQ(at(200, 100), WHITE);
    EXPECT_EQ(at(200, 400), WHITE);
    // The centred text's box: 15 rows above y = 150 and y = 430 around x = 450.
    EXPECT_GT(darkPixelsIn(400, 135, 500, 149), 30);
    EXPECT_GT(darkPixelsIn(400, 415, 500, 429), 30);
    EXPECT_EQ(darkPixelsIn(160, 335, 380, 410), 0);
    // Labels to the left on the window colour.
    EXPECT_GT(darkPixelsIn(10, 150, 140, 164), 30);
}

} // namespace
