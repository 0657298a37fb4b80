#include "app/print_command.h"

#include "base/messages.h"
#include "output/printing.h"
#include "res/text_table.h"
#include "view/chart_view.h"

void printCommand() {
    PrintJob* job = nullptr;
    if (getPrinterDC(&job) != 0) {
        showMessage(MSG_NO_PRINTER, CAPTION_ERROR, 0);
        return;
    }
    if (job == nullptr)
        return;
    const int err = printCharts(job, chartView.mainStart, chartView.zoomStart, chartView.cursorX,
                                chartView.samplesPerPixel);
    if (err != 0)
        showMessage(MSG_PRINT_FAILED, CAPTION_ERROR, err);
    printerRelease(job);
}
