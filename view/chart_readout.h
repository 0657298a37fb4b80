// The readout under the mouse: which sample the pixel column under the mouse
// shows in either chart's plot area, and its stamp and value as a text for a
// tooltip. The column's sample comes from the drawing's own walk over the
// columns (CurveColumns), so it is exactly the sample behind that column.
// It reads the chart view and the store and changes neither.
#pragma once
#include <cstdint>

enum ReadoutChart { READOUT_ZOOM, READOUT_MAIN };

struct ChartReadout {
    ReadoutChart chart;
    int column;     // 0..599
    uint32_t index; // the sample drawn in that column
    // UTF-8, two lines: the stamp as the time labels write it, with its
    // hundredths, and the value in percent, or "marker" or "gap" in the
    // active language: "25/12-09, 14:30:05.37\n87 %".
    char text[96];
};

// Plot areas, as the paint fills them: x 150..749 (the 600 columns, the
// first on the left axis), y 50..249 (zoom) and 330..529 (main).
// False when (x, y) lies in neither, when no data is shown, or when the
// column shows no stored sample.
bool chartReadoutAt(int x, int y, ChartReadout* readout);
