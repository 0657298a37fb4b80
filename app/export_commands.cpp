#include "app/export_commands.h"

#include "base/messages.h"
#include "data/sample_store.h"
#include "data/text_export.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"

namespace {

constexpr uint32_t EXPORT_PATH_SIZE = 256;

// What a chart shows, as records inside the store (writeExport stops at the
// last one). A chart with fewer samples than columns (samplesPerPixel 0, or
// below 10 for the zoom chart) reads less than one new sample per column: its
// samples are exported one by one, and one that covers less than a single
// sample ends at the last stored record. A start left past the store by a
// paint of other data starts at the last record, so line 2 has one to show.
int exportChart(uint32_t first, int64_t last, uint32_t step) {
    const uint32_t count = storableCount(dataHeader.count);
    // An opened file can hold a header and no records: there is nothing to
    // export, and line 2 would have no record to take its time from.
    if (count == 0) {
        showMessage(MSG_NO_DATA, CAPTION_SAVING, 0);
        return 0;
    }
    if (step == 0) {
        step = 1;
        if (last < int64_t(first))
            last = count - 1;
    }
    if (first > count - 1)
        first = count - 1;
    return exportText(first, last, step);
}

} // namespace

int exportText(uint32_t first, int64_t last, uint32_t step) {
    const FileDialogSpec spec = {
        FILE_DIALOG_SAVE, EXPORT_FILTER_NAME, EXPORT_FILTER_PATTERN, EXPORT_EXTENSION, true, false};
    char path[EXPORT_PATH_SIZE] = "";
    int dialogError = 0;
    if (!uiRunFileDialog(&spec, path, sizeof path, &dialogError))
        return dialogError;
    const int result = writeExportFile(path, first, last, step);
    const int message = exportWriteMessage(result);
    if (message != 0)
        showMessage(message, TEXT_PROGRAM_TITLE, result);
    return result;
}

int exportZoomWindow() {
    return exportChart(chartView.zoomStart, chartView.zoomEnd,
                       uint32_t(chartView.samplesPerPixel) / ZOOM_FACTOR);
}

int exportMainWindow() {
    return exportChart(chartView.mainStart, chartView.mainEnd, uint32_t(chartView.samplesPerPixel));
}

int exportAllSamples() {
    return exportChart(0, int64_t(dataHeader.count) - 1, 1);
}
