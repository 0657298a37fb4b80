// The Qt printing layer's jobs: a printer chosen in the print dialog, or a
// PDF file, which is written whole beside its name and only then takes it.
#pragma once
#include <QPrinter>
#include <memory>

#include "ui/printer.h"

// A job on printer as the print dialog left it: the PDF file pdfPath (the
// bytes of its name) when its output format is PDF, else the printer itself.
PrintJob* qtPrintJobFor(std::unique_ptr<QPrinter> printer, const char* pdfPath);
