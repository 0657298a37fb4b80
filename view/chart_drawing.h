// The two charts of the main window: axes, curves, time labels and the
// no-data text, drawn through a canvas in the window's logical coordinates.
// The print variants draw the same on paper.
#pragma once
#include <cstdint>

#include "data/sample_store.h"
#include "ui/canvas.h"
#include "view/window_layout.h"

// Axes, ticks and labels of the chart whose baseline starts at (x, y).
void drawAxes(Canvas* canvas, int x, int y);
// The same, with labels on the paper's own background.
void drawAxesForPrint(Canvas* canvas, int x, int y);

// Which sample each column of a chart shows. The index of column c + 1 is
// startIndex plus the exact sum of the accumulator and step, truncated; the
// accumulator keeps that sum rounded to single precision. The zoom chart's
// step of 1.1f thus covers 659 samples, not 660. The drawing and the readout
// under the mouse (view/chart_readout.h) both walk the columns with it.
struct CurveColumns {
    int32_t startIndex;
    float step;
    float acc;
    int64_t index; // the sample of the current column
};
inline CurveColumns firstCurveColumn(int32_t startIndex, float step) {
    return {startIndex, step, 0.0f, startIndex};
}
inline void nextCurveColumn(CurveColumns* columns) {
    // Two floats add exactly in double.
    const double sum = double(columns->acc) + double(columns->step);
    columns->index = columns->startIndex + int64_t(sum);
    columns->acc = float(sum);
}

// The last sample index the 600 columns from startIndex cover, as drawCurve
// returns it, without drawing.
int64_t curveLastIndex(int32_t startIndex, float step);

// Draws 600 columns from x = 150, reading one record per column from
// startIndex on, step samples apart. Returns the last sample index the chart
// covers (startIndex - 1 when step is below 1). Indices outside the store are
// drawn as gaps and never read.
int32_t drawCurve(Canvas* canvas, int baselineY, int32_t startIndex, float step);
// The zoom chart's step: samplesPerPixel times 0.1 in single precision, so
// that screen and paper cover the same samples.
float zoomStep(int32_t samplesPerPixel);

// The shaded band over the 60 columns the zoom chart shows, from y = 330 down
// to bottom (exclusive, as a filled rectangle leaves its last row out).
void drawCursorBand(Canvas* canvas, uint16_t cursorX, int bottom);

// A stamp as the time labels write it.
struct StampText {
    char text[32];
};
// A time label's stamp, "25/12-09, 14:30:05"; a field above 99 prints whole.
StampText labelStamp(const SampleRecord& record);

// caption (UTF-8) with its bottom at (x, y) and record's time stamp below it.
void drawTimeLabel(Canvas* canvas, const char* caption, SampleRecord record, int x, int y);
// caption, date and time on three lines, in the small paper font.
void drawTimeLabelForPrint(Canvas* canvas, const char* caption, SampleRecord record, int x, int y);

// "No data present" in the current language, centred on x, its bottom at y.
void drawNoData(Canvas* canvas, int x, int y);

// The whole chart area of the main window; writes chartView.mainEnd and
// chartView.zoomEnd.
void paintCharts(Canvas* canvas);

// The record a time label shows for a chart's first or last index. An index
// outside the stored samples (the end index of a chart with fewer than 600
// samples can be -1) shows the nearest stored one; record 0 when none is stored.
const SampleRecord& timeLabelRecord(int64_t index);
