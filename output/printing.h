// Printing both charts on one page: a header, the axes, the cursor band, the
// curves of the current view and the four time labels, the main window's
// client area stretched over the printable area of the page.
#pragma once
#include <cstdint>

#include "ui/canvas.h"
#include "ui/printer.h"

// Draws the page of the given view on a job the layer has opened. The view
// itself is left alone: mainEnd and zoomEnd stay as the screen left them.
// Returns 0 or the error number of the bracket that failed.
int printCharts(PrintJob* job, uint32_t mainStart, uint32_t zoomStart, uint16_t cursorX,
                int32_t samplesPerPixel);

// The bold program title at the top left and the date and time of printing in
// the user's regional long format at the top right.
void printHeader(Canvas* canvas);

// The page Print gives of the data in memory right after they arrive (all
// samples in the main chart, the band at the left end), written to the PDF
// file path without a dialog. Returns 0 or an error number.
int printNewDataToPdf(const char* path);
