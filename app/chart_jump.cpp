#include "app/chart_jump.h"

#include <algorithm>

#include "data/sample_store.h"
#include "ui/frontend.h"
#include "view/chart_view.h"
#include "view/navigation.h"
#include "view/window_layout.h"

namespace {

// Inside the main chart's plot area, where a press can take the band.
constexpr uint16_t BAND_GRAB_Y = MAIN_BASELINE - 100;
constexpr int32_t CURSOR_X_MAX = CHART_COLUMNS - CURSOR_BAND_COLUMNS;

// The thumb dragged to the position whose window holds index, with index as
// near its middle as the positions allow, and let go there.
void scrollMainChartTo(uint32_t index, uint32_t window) {
    ScrollInfo info;
    uiScrollGetInfo(&info);
    if (info.nMax <= 0)
        return; // the main chart shows every sample
    const int32_t highest = info.nMax - std::max<int32_t>(int32_t(info.nPage) - 1, 0);
    const int64_t wantedStart = std::max<int64_t>(int64_t(index) - window / 2, 0);
    int32_t pos = int32_t(wantedStart * info.nMax / dataHeader.count);
    pos = std::clamp(pos, 0, std::max(highest, 0));
    // A position stands for count / nMax samples: step to the nearest that
    // holds index.
    while (pos < highest && uint64_t(mainStartAtScrollPosition(info, pos)) + window <= index)
        ++pos;
    while (pos > 0 && mainStartAtScrollPosition(info, pos) > index)
        --pos;
    info.nPos = pos;
    uiScrollSetInfo(&info, SIF_POS);
    onChartScroll(SB_ENDSCROLL);
}

// The band pressed in its middle, moved so that its middle is over index's
// column (or as near as its ends allow), and released.
void dragBandOnto(uint32_t column) {
    const int32_t wanted =
        std::clamp(int32_t(column) - CURSOR_BAND_COLUMNS / 2, int32_t(0), CURSOR_X_MAX);
    if (wanted == chartView.cursorX)
        return;
    const int32_t grab = CHART_LEFT + chartView.cursorX + CURSOR_BAND_COLUMNS / 2;
    onCursorButtonDown(uint16_t(grab), BAND_GRAB_Y);
    onCursorMove(uint16_t(grab + wanted - chartView.cursorX));
    onCursorButtonUp();
}

} // namespace

void showSampleInCharts(uint32_t index) {
    const uint32_t perPixel = uint32_t(std::max(chartView.samplesPerPixel, 0));
    // Fewer samples than columns: the main chart holds them all and the band
    // moves nothing.
    if (!dataPresent || perPixel == 0 || index >= storableCount(dataHeader.count))
        return;
    const uint32_t window = CHART_COLUMNS * perPixel;
    if (index < chartView.mainStart || index - chartView.mainStart >= window)
        scrollMainChartTo(index, window);
    if (index < chartView.mainStart || index - chartView.mainStart >= window)
        return;
    dragBandOnto((index - chartView.mainStart) / perPixel);
}
