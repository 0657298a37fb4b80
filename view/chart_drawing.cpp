#include "view/chart_drawing.h"

#include <algorithm>
#include <cstdio>

#include "base/texts.h"
#include "res/text_table.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"
#include "view/window_layout.h"

namespace {
// How far up the curve goes for 100 %: 2 pixels per percent.
constexpr int PIXELS_PER_PERCENT = 2;
constexpr int MARKER_HEIGHT = 100 * PIXELS_PER_PERCENT;

// A UTF-8 text of the current language, ready for a canvas.
struct DisplayText {
    char utf8[TEXT_UTF8_SIZE];
};
DisplayText displayText(int textId) {
    DisplayText text;
    loadTextUtf8(text.utf8, textId);
    return text;
}

void line(Canvas* canvas, int x1, int y1, int x2, int y2) {
    canvasMoveTo(canvas, x1, y1);
    canvasLineTo(canvas, x2, y2);
}

// One arrow drawn as one move and line sequence: shaft, one barb, then the
// other barb from the tip.
void arrow(Canvas* canvas, int fromX, int fromY, int tipX, int tipY, int barb1X, int barb1Y,
           int barb2X, int barb2Y) {
    canvasMoveTo(canvas, fromX, fromY);
    canvasLineTo(canvas, tipX, tipY);
    canvasLineTo(canvas, barb1X, barb1Y);
    line(canvas, tipX, tipY, barb2X, barb2Y);
}

void alignedText(Canvas* canvas, unsigned align, int x, int y, const char* text) {
    canvasSetTextAlign(canvas, align);
    canvasTextOut(canvas, x, y, text);
}

void drawAxesOn(Canvas* canvas, int x, int y, bool windowBackground) {
    const PenDesc* previousPen = canvasSelectPen(canvas, &axisPen);
    arrow(canvas, x - 5, y, x + 610, y, x + 605, y - 5, x + 605, y + 5);
    arrow(canvas, x, y + 5, x, y - 210, x + 5, y - 205, x - 5, y - 205);
    arrow(canvas, x + 600, y + 5, x + 600, y - 210, x + 605, y - 205, x + 595, y - 205);
    for (int k = 1; k <= 10; ++k) {
        const int e = y - 20 * k;
        line(canvas, x, e, x - 5, e);
        line(canvas, x + 600, e, x + 605, e);
    }
    for (int k = 1; k <= 10; ++k) {
        const int e = x + 60 * k;
        line(canvas, e, y, e, y + 5);
    }

    const FontDesc* previousFont = canvasSelectFont(canvas, &axisFont);
    const unsigned previousAlign = canvasSetTextAlign(canvas, TA_LEFT | TA_TOP);
    const uint32_t previousBackground =
        windowBackground ? canvasSetTextBackground(canvas, WINDOW_COLOUR) : canvas->textBackground;
    alignedText(canvas, TA_RIGHT | TA_BOTTOM, x - 5, y - 210, "P[%]");
    alignedText(canvas, TA_RIGHT | TA_BOTTOM, x - 10, y - 93, "50");
    alignedText(canvas, TA_RIGHT | TA_BOTTOM, x - 10, y - 193, "100");
    alignedText(canvas, TA_LEFT | TA_BOTTOM, x + 605, y - 210, "P[%]");
    alignedText(canvas, TA_LEFT | TA_BOTTOM, x + 610, y - 93, "50");
    alignedText(canvas, TA_LEFT | TA_BOTTOM, x + 610, y - 193, "100");
    alignedText(canvas, TA_LEFT | TA_TOP, x + 600, y + 5, "t");
    canvasSetTextBackground(canvas, previousBackground);
    canvasSetTextAlign(canvas, previousAlign);
    canvasSelectFont(canvas, previousFont);
    canvasSelectPen(canvas, previousPen);
}

// Sample k's value code; an index outside the store counts as a gap.
uint8_t valueAt(int64_t k) {
    if (k < 0 || k >= int64_t(SAMPLE_STORE_CAPACITY))
        return SAMPLE_GAP;
    return sampleStore[k].value;
}

// Each byte of the stamp prints whole, so a field above 99 takes three digits.
template <typename... Fields> StampText formatStamp(const char* format, Fields... fields) {
    StampText stamp;
    std::snprintf(stamp.text, sizeof stamp.text, format, int(fields)...);
    return stamp;
}

void fillRectangle(Canvas* canvas, const BrushDesc* brush, int left, int top, int right,
                   int bottom) {
    const PenDesc* previousPen = canvasSelectPen(canvas, &nullPen);
    const BrushDesc* previousBrush = canvasSelectBrush(canvas, brush);
    canvasRectangle(canvas, left, top, right, bottom);
    canvasSelectBrush(canvas, previousBrush);
    canvasSelectPen(canvas, previousPen);
}
} // namespace

void drawAxes(Canvas* canvas, int x, int y) {
    drawAxesOn(canvas, x, y, true);
}

void drawAxesForPrint(Canvas* canvas, int x, int y) {
    drawAxesOn(canvas, x, y, false);
}

int64_t curveLastIndex(int32_t startIndex, float step) {
    CurveColumns columns = firstCurveColumn(startIndex, step);
    for (int column = 0; column < CHART_COLUMNS; ++column)
        nextCurveColumn(&columns);
    return columns.index - 1;
}

int32_t drawCurve(Canvas* canvas, int baselineY, int32_t startIndex, float step) {
    const PenDesc* previousPen = canvasSelectPen(canvas, &curvePen);
    bool penDown = false;
    CurveColumns columns = firstCurveColumn(startIndex, step);
    for (int column = 0; column < CHART_COLUMNS; ++column) {
        const int x = CHART_LEFT + column;
        const uint8_t v = valueAt(columns.index);
        if (v == SAMPLE_GAP) {
            penDown = false;
        } else if (isMarkerCode(v)) {
            canvasSelectPen(canvas, &markerPen);
            line(canvas, x, baselineY, x, baselineY - MARKER_HEIGHT);
            canvasSelectPen(canvas, &curvePen);
            penDown = false;
        } else {
            const int y = baselineY - PIXELS_PER_PERCENT * v;
            if (penDown)
                canvasLineTo(canvas, x, y);
            else
                canvasMoveTo(canvas, x, y);
            penDown = true;
        }
        nextCurveColumn(&columns);
    }
    canvasSelectPen(canvas, previousPen);
    return int32_t(columns.index - 1);
}

float zoomStep(int32_t samplesPerPixel) {
    // 0.1 as a float, times the whole step, rounded once more to float.
    return float(double(samplesPerPixel) * double(0.1f));
}

void drawCursorBand(Canvas* canvas, uint16_t cursorX, int bottom) {
    const int bandX = CHART_LEFT + cursorX;
    fillRectangle(canvas, &cursorBrush, bandX + 1, 330, bandX + CURSOR_BAND_COLUMNS, bottom);
}

StampText labelStamp(const SampleRecord& record) {
    return formatStamp("%02d/%02d-%02d, %02d:%02d:%02d", record.day, record.month, record.year,
                       record.hour, record.minute, record.second);
}

void drawTimeLabel(Canvas* canvas, const char* caption, SampleRecord record, int x, int y) {
    const FontDesc* previousFont = canvasSelectFont(canvas, &labelFont);
    const unsigned previousAlign = canvasSetTextAlign(canvas, TA_LEFT | TA_BOTTOM);
    const uint32_t previousBackground = canvasSetTextBackground(canvas, WINDOW_COLOUR);
    canvasTextOut(canvas, x, y, caption);
    canvasTextOut(canvas, x, y + 15, labelStamp(record).text);
    canvasSetTextBackground(canvas, previousBackground);
    canvasSetTextAlign(canvas, previousAlign);
    canvasSelectFont(canvas, previousFont);
}

void drawTimeLabelForPrint(Canvas* canvas, const char* caption, SampleRecord record, int x, int y) {
    const FontDesc* previousFont = canvasSelectFont(canvas, &smallFont);
    const unsigned previousAlign = canvasSetTextAlign(canvas, TA_LEFT | TA_BOTTOM);
    canvasTextOut(canvas, x, y, caption);
    canvasTextOut(canvas, x, y + 10,
                  formatStamp("%02d/%02d-%02d,", record.day, record.month, record.year).text);
    canvasTextOut(canvas, x, y + 20,
                  formatStamp("%02d:%02d:%02d", record.hour, record.minute, record.second).text);
    canvasSetTextAlign(canvas, previousAlign);
    canvasSelectFont(canvas, previousFont);
}

void drawNoData(Canvas* canvas, int x, int y) {
    const DisplayText text = displayText(TEXT_EMPTY_CHART);
    const FontDesc* previousFont = canvasSelectFont(canvas, &labelFont);
    const unsigned previousAlign = canvasSetTextAlign(canvas, TA_CENTER | TA_BOTTOM);
    canvasTextOut(canvas, x, y, text.utf8);
    canvasSetTextAlign(canvas, previousAlign);
    canvasSelectFont(canvas, previousFont);
}

const SampleRecord& timeLabelRecord(int64_t index) {
    const int64_t stored = storableCount(dataHeader.count);
    return sampleStore[std::clamp<int64_t>(index, 0, std::max<int64_t>(stored - 1, 0))];
}

void paintCharts(Canvas* canvas) {
    drawAxes(canvas, CHART_LEFT, MAIN_BASELINE);
    drawAxes(canvas, CHART_LEFT, ZOOM_BASELINE);

    // The plot areas, strictly between the axes.
    const BrushDesc* white = canvas->brush;
    fillRectangle(canvas, white, 151, 251, 751, 50);
    fillRectangle(canvas, white, 151, 531, 751, 330);

    if (dataPresent) {
        drawCursorBand(canvas, chartView.cursorX, 531);
        chartView.mainEnd = drawCurve(canvas, MAIN_BASELINE, int32_t(chartView.mainStart),
                                      float(chartView.samplesPerPixel));
        chartView.zoomEnd = drawCurve(canvas, ZOOM_BASELINE, int32_t(chartView.zoomStart),
                                      zoomStep(chartView.samplesPerPixel));
    } else {
        drawNoData(canvas, 450, 150);
        drawNoData(canvas, 450, 430);
    }

    const DisplayText start = displayText(TEXT_START_CAPTION);
    const DisplayText end = displayText(TEXT_END_CAPTION);
    drawTimeLabel(canvas, start.utf8, timeLabelRecord(chartView.mainStart), 10, 430);
    drawTimeLabel(canvas, start.utf8, timeLabelRecord(chartView.zoomStart), 10, 150);
    drawTimeLabel(canvas, end.utf8, timeLabelRecord(chartView.mainEnd), 10, 500);
    drawTimeLabel(canvas, end.utf8, timeLabelRecord(chartView.zoomEnd), 10, 220);
}
