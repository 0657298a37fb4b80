#include "view/chart_readout.h"

#include <cstdio>

#include "base/texts.h"
#include "data/sample_store.h"
#include "res/added_texts.h"
#include "res/text_table.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"

namespace {

// A plot area is 200 rows high, 100 % at 2 pixels each, above its baseline.
constexpr int PLOT_ROWS = 200;
constexpr int ZOOM_TOP = ZOOM_BASELINE - PLOT_ROWS;
constexpr int MAIN_TOP = MAIN_BASELINE - PLOT_ROWS;

} // namespace

bool chartReadoutAt(int x, int y, ChartReadout* readout) {
    const int column = x - CHART_LEFT;
    if (!dataPresent || column < 0 || column >= CHART_COLUMNS)
        return false;
    CurveColumns columns;
    if (y >= ZOOM_TOP && y < ZOOM_TOP + PLOT_ROWS) {
        readout->chart = READOUT_ZOOM;
        columns =
            firstCurveColumn(int32_t(chartView.zoomStart), zoomStep(chartView.samplesPerPixel));
    } else if (y >= MAIN_TOP && y < MAIN_TOP + PLOT_ROWS) {
        readout->chart = READOUT_MAIN;
        columns = firstCurveColumn(int32_t(chartView.mainStart), float(chartView.samplesPerPixel));
    } else {
        return false;
    }
    for (int c = 0; c < column; ++c)
        nextCurveColumn(&columns);
    if (columns.index < 0 || columns.index >= int64_t(storableCount(dataHeader.count)))
        return false;
    readout->column = column;
    readout->index = uint32_t(columns.index);
    const SampleRecord& record = sampleStore[readout->index];
    char value[16];
    if (isValueCode(record.value))
        std::snprintf(value, sizeof value, "%d %%", record.value);
    std::snprintf(readout->text, sizeof readout->text, "%s.%d%d\n%s", labelStamp(record).text,
                  record.tenths, record.hundredths,
                  isValueCode(record.value)
                      ? value
                      : addedText(record.value == SAMPLE_GAP ? ADDED_GAP : ADDED_MARKER));
    return true;
}
