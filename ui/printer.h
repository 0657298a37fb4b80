// The printing layer: what printing needs of the window system. Each program
// links one implementation: the Qt one prints through Qt's print dialog (a
// printer or a PDF file), the native Windows one through printer device
// contexts, the tests' one records. Results are 0 or an error number.
#pragma once
#include "ui/canvas.h"

// A chosen printer with its job, held by the layer.
struct PrintJob;

// Lets the user pick a printer, paper and orientation in a dialog owned by the
// main window, opening on landscape, as the page is laid out. Returns 0 with
// *job set; 0 with *job null when the user cancelled or the chosen printer
// cannot be opened; or an error number when no printer could be offered at
// all.
int getPrinterDC(PrintJob** job);

// A job that prints to the PDF file path on an A4 page in landscape, without
// a dialog, for tools that make reports. 0 with *job, or an error number (a
// layer that cannot write PDFs says ERR_PRINT_REFUSED).
int printerOpenPdf(const char* path, PrintJob** job);

// The printable area of the page in device pixels.
void printerPageSize(const PrintJob* job, int* width, int* height);
// From now on a logical point (x, y) lands on the page at
// (x * viewportWidth / windowWidth, y * viewportHeight / windowHeight): the
// two directions scale independently. A font's height scales with the
// vertical factor; its glyphs' width with the same one, or with the
// horizontal factor where that is smaller, so that no text runs off a page
// in portrait.
void printerSetMapping(PrintJob* job, int windowWidth, int windowHeight, int viewportWidth,
                       int viewportHeight);
// A canvas that draws on the job's page in logical coordinates; it lives as
// long as the job.
void printerCanvasInit(PrintJob* job, Canvas* canvas);

// The document and page brackets; documentName names the job.
int printerStartDocument(PrintJob* job, const char* documentName);
int printerStartPage(PrintJob* job);
int printerEndPage(PrintJob* job);
// The page goes to the printer, or the PDF file takes its chosen name.
int printerEndDocument(PrintJob* job);

// Ends the job; an unfinished one is dropped and leaves no file behind.
void printerRelease(PrintJob* job);
