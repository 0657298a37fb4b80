// Where the two charts look into the sample store. Navigation moves it, every
// paint writes the two end indices, new data resets it.
#pragma once
#include <cstdint>

struct ChartView {
    int32_t samplesPerPixel; // samples per column of the main chart
    uint32_t mainStart;      // sample in the main chart's first column
    int32_t mainEnd;         // last sample the main chart covers (written by paint)
    uint32_t zoomStart;      // sample in the zoom chart's first column
    int32_t zoomEnd;         // last sample the zoom chart covers (written by paint)
    uint32_t zoomOffset;     // zoomStart - mainStart
    uint16_t cursorX;        // left edge of the cursor band, offset from x = 150, 0..540
    int32_t dragStartX;      // mouse x where a cursor drag began; 0: no drag
    uint16_t dragOriginX;    // cursorX when the drag began
    int32_t savedSpanIndex;  // span selector entry when its list opened
};

extern ChartView chartView;

// Counts the sets of samples the charts have been put on: every view reset
// and every restamping (Set time) adds one, so that what was worked out from
// the records can tell that they changed under the same view.
extern uint32_t chartDataGeneration;

// Puts the charts on new data: all samples in the main chart, the cursor at
// the left end, the span selector on the header's span, the scroll bar hidden.
// Called once count, amountIndex and the records are in place.
void resetChartView();
