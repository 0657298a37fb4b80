#include "data/sample_store.h"
#include "output/printing.h"
#include "view/chart_drawing.h"
#include "view/drawing_objects.h"

int printNewDataToPdf(const char* path) {
    // A tool has no window that made them; the window's are the same.
    createDrawingObjects();
    PrintJob* job = nullptr;
    int err = printerOpenPdf(path, &job);
    if (err != 0)
        return err;
    // The view the view reset makes of new data.
    err = printCharts(job, 0, 0, 0, int32_t(dataHeader.count / CHART_COLUMNS));
    printerRelease(job);
    return err;
}
