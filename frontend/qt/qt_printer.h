// The Qt printing layer's jobs: a printer chosen in the print dialog, or a
// PDF file, which is written whole beside its name and only then takes it.
#pragma once
#include <QPrinter>
#include <memory>

#include "frontend/printer.h"

// A job on printer as the print dialog left it: a PDF file when its output
// format is PDF, else the printer itself.
PrintJob* qtPrintJobFor(std::unique_ptr<QPrinter> printer);

// A job that prints to the PDF file path on an A4 page in landscape, with no
// dialog. Needs a QGuiApplication (the offscreen platform serves).
PrintJob* qtPdfJob(const char* path);

// The page Print would give for the current view, written to the PDF file
// path without a dialog, for reports made by scripts. Returns 0 or an error
// number (the system's where the file could not be written).
int printChartsToPdf(const char* path);
