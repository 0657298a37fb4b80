#include "view/navigation.h"

#include <algorithm>

#include "data/amount_table.h"
#include "data/sample_store.h"
#include "ui/frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"

namespace {

// The fewest samples a span may show: ten per column of the main chart, so the
// zoom chart always has a whole sample per column.
constexpr uint32_t SPAN_SAMPLES_MIN = CHART_COLUMNS * ZOOM_FACTOR;
// A page of the scroll bar, whatever its page size is.
constexpr int32_t SCROLL_PAGE_POSITIONS = 32;
// The main chart's plot area, between its 100 % line and its baseline.
constexpr int MAIN_PLOT_TOP = 330;
constexpr int CURSOR_X_MAX = CHART_COLUMNS - CURSOR_BAND_COLUMNS;

// The samples span sel stands for at the given interval: divided first, then
// doubled, so always even. 0 where it cannot be worked out: no span selected,
// or an interval of 0, which only a foreign data file can carry.
uint32_t spanSamplesOf(int sel, uint16_t interval) {
    if (sel < 0 || sel >= AMOUNT_COUNT || interval == 0)
        return 0;
    return amountTable[sel] / interval * 2;
}

void refuseSpan() {
    uiSpanSetSelection(chartView.savedSpanIndex);
    uiFocusMainWindow();
}

void applySpan(uint32_t spanSamples) {
    const uint32_t count = dataHeader.count;
    const uint32_t perPixel = spanSamples / CHART_COLUMNS;
    chartView.samplesPerPixel = int32_t(perPixel);
    uint32_t mainStart = chartView.zoomStart;
    if (uint64_t(chartView.zoomStart) + spanSamples > count)
        mainStart = count - spanSamples;
    chartView.mainStart = mainStart;
    chartView.cursorX = 0;
    chartView.zoomOffset = 0;
    chartView.zoomStart = mainStart;

    // Thirty-two bits hold spanSamples x nMax (at most 600 x count); the
    // position's product does not fit them.
    const uint32_t nMax = (count - spanSamples) / perPixel;
    ScrollInfo info = {};
    info.nMax = int32_t(nMax);
    info.nPage = spanSamples * nMax / count;
    info.nPos = int32_t(uint64_t(mainStart) * nMax / count);
    uiScrollSetInfo(&info, SIF_RANGE | SIF_PAGE | SIF_POS);
    uiScrollShow(nMax != 0);
    uiInvalidate(true);
    uiFocusMainWindow();
}

void chooseSpan() {
    const int sel = uiSpanGetSelection();
    if (!dataPresent) {
        uiFocusMainWindow();
        return;
    }
    const uint32_t spanSamples = spanSamplesOf(sel, dataHeader.interval);
    if (spanSamples < SPAN_SAMPLES_MIN || spanSamples > dataHeader.count) {
        refuseSpan();
        return;
    }
    applySpan(spanSamples);
}

// The new position for a scroll code; signed, as the control's numbers are.
int32_t scrolledPosition(int scrollCode, const ScrollInfo& info) {
    const int32_t pos = info.nPos;
    const int32_t lastFull = info.nMax - int32_t(info.nPage);
    switch (scrollCode) {
    case SB_LINELEFT:
        return pos != 0 ? pos - 1 : pos;
    case SB_LINERIGHT:
        return pos <= lastFull ? pos + 1 : pos;
    case SB_PAGELEFT:
        return pos > SCROLL_PAGE_POSITIONS ? pos - SCROLL_PAGE_POSITIONS : 0;
    case SB_PAGERIGHT:
        return pos < lastFull - SCROLL_PAGE_POSITIONS ? pos + SCROLL_PAGE_POSITIONS : lastFull + 1;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return info.nTrackPos;
    default:
        return pos;
    }
}

} // namespace

uint32_t mainStartAtScrollPosition(const ScrollInfo& info, int32_t pos) {
    const uint32_t count = dataHeader.count;
    uint32_t mainStart = uint32_t(int64_t(count) * pos / info.nMax);
    const uint32_t lastStart = count - CHART_COLUMNS * uint32_t(chartView.samplesPerPixel);
    // The track's end must show the data's end. Where the span is no whole
    // number of columns the quotient stops short of it (up to 599 samples),
    // so the highest position the bar takes stands for the last window.
    const int32_t highest = info.nMax - std::max<int32_t>(int32_t(info.nPage) - 1, 0);
    if (mainStart > lastStart || pos >= highest)
        mainStart = lastStart;
    return mainStart;
}

void onSpanNotify(int notifyCode) {
    if (notifyCode == CBN_DROPDOWN)
        chartView.savedSpanIndex = uiSpanGetSelection();
    else if (notifyCode == CBN_SELENDOK)
        chooseSpan();
}

void onChartScroll(int scrollCode) {
    ScrollInfo info;
    uiScrollGetInfo(&info);
    // The bar is only shown with a range; a stray message after a view reset
    // must not divide by it.
    if (info.nMax <= 0)
        return;
    info.nPos = scrolledPosition(scrollCode, info);
    const uint32_t mainStart = mainStartAtScrollPosition(info, info.nPos);
    chartView.mainStart = mainStart;
    chartView.zoomStart = mainStart + chartView.zoomOffset;
    uiScrollSetInfo(&info, SIF_POS);
    uiInvalidate(false);
}

void onCursorButtonDown(uint16_t x, uint16_t y) {
    const int bandLeft = CHART_LEFT + chartView.cursorX;
    const bool onBand = x >= bandLeft && x <= bandLeft + CURSOR_BAND_COLUMNS;
    if (y > MAIN_PLOT_TOP && y < MAIN_BASELINE && onBand && dataPresent) {
        chartView.dragStartX = x;
        chartView.dragOriginX = chartView.cursorX;
    }
}

// The button's state is not looked at: a drag lasts until a release reaches
// the window, and positions that would put the band past either end are
// skipped rather than clamped.
void onCursorMove(uint16_t x) {
    if (chartView.dragStartX == 0)
        return;
    const int32_t nx = int32_t(chartView.dragOriginX) - chartView.dragStartX + x;
    if (nx < 0 || nx > CURSOR_X_MAX)
        return;
    chartView.cursorX = uint16_t(nx);
    chartView.zoomOffset = chartView.cursorX * uint32_t(chartView.samplesPerPixel);
    chartView.zoomStart = chartView.mainStart + chartView.zoomOffset;
    uiInvalidate(false);
}

void onCursorButtonUp() {
    chartView.dragStartX = 0;
}
