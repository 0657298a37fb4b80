#include "view/chart_view.h"

#include "data/sample_store.h"
#include "ui/frontend.h"
#include "view/window_layout.h"

uint32_t chartDataGeneration;

void resetChartView() {
    ++chartDataGeneration;
    dataPresent = true;
    chartView.mainStart = 0;
    chartView.cursorX = 0;
    chartView.zoomOffset = 0;
    chartView.zoomStart = 0;
    chartView.samplesPerPixel = int32_t(dataHeader.count / CHART_COLUMNS);
    uiInvalidate(true);
    // A file may name a span the selector does not have: then it shows none.
    uiSpanSetSelection(dataHeader.amountIndex < ACQUISITION_SPANS ? dataHeader.amountIndex : -1);
    uiScrollShow(false);
}
