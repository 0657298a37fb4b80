// Print jobs on Qt. A PDF is drawn into memory and written through the
// file-replacement service at the end of the document: a full disk or a
// failed write is found there and reported, while the chosen name still
// holds the old file (or none). A printer is drawn on directly.
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <string>

#include "app/app_state.h"
#include "frontend/qt/qt_paper_canvas.h"
#include "frontend/qt/qt_printer.h"
#include "output/printing.h"
#include "platform/file.h"
#include "view/chart_view.h"

struct PrintJob {
    std::unique_ptr<QPrinter> printer; // null for a PDF file
    std::string pdfPath;
    QBuffer pdfBytes;
    std::unique_ptr<QPdfWriter> pdf;
    QPainter painter;
    PaperCanvasContext paper{&painter, 1.0, 1.0};
    FileReplacement file{};
    bool fileBegun = false;

    QPaintDevice* device() const {
        return printer ? static_cast<QPaintDevice*>(printer.get()) : pdf.get();
    }
};

namespace {

int writePdfFile(PrintJob* job) {
    const QByteArray& bytes = job->pdfBytes.data();
    uint32_t moved = 0;
    int err = fileWrite(job->file.file, bytes.constData(), uint32_t(bytes.size()), &moved);
    if (err == 0 && moved < uint32_t(bytes.size()))
        err = ERR_PRINT_REFUSED;
    if (err != 0)
        return err;
    job->fileBegun = false;
    return fileReplaceCommit(&job->file);
}

} // namespace

PrintJob* qtPrintJobFor(std::unique_ptr<QPrinter> printer) {
    auto* job = new PrintJob;
    if (printer->outputFormat() != QPrinter::PdfFormat) {
        job->printer = std::move(printer);
        return job;
    }
    job->pdfPath = QFile::encodeName(printer->outputFileName()).toStdString();
    job->pdf = std::make_unique<QPdfWriter>(&job->pdfBytes);
    job->pdf->setResolution(printer->resolution());
    job->pdf->setPageLayout(printer->pageLayout());
    return job;
}

PrintJob* qtPdfJob(const char* path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QFile::decodeName(path));
    printer->setPageOrientation(QPageLayout::Landscape);
    return qtPrintJobFor(std::move(printer));
}

int printChartsToPdf(const char* path) {
    PrintJob* job = qtPdfJob(path);
    const int err = printCharts(job, chartView.mainStart, chartView.zoomStart, chartView.cursorX,
                                chartView.samplesPerPixel);
    printerRelease(job);
    return err;
}

void printerPageSize(const PrintJob* job, int* width, int* height) {
    *width = job->device()->width();
    *height = job->device()->height();
}

void printerSetMapping(PrintJob* job, int windowWidth, int windowHeight, int viewportWidth,
                       int viewportHeight) {
    job->paper.scaleX = windowWidth > 0 ? double(viewportWidth) / windowWidth : 1.0;
    job->paper.scaleY = windowHeight > 0 ? double(viewportHeight) / windowHeight : 1.0;
}

void printerCanvasInit(PrintJob* job, Canvas* canvas) {
    qtPaperCanvasInit(canvas, &job->paper);
}

int printerStartDocument(PrintJob* job, const char* documentName) {
    const QString name = QString::fromUtf8(documentName);
    if (job->printer) {
        job->printer->setDocName(name);
        return job->painter.begin(job->printer.get()) ? 0 : ERR_PRINT_REFUSED;
    }
    // A file that cannot be made (no such directory, no permission) is found
    // before anything is drawn.
    const int err = fileReplaceBegin(job->pdfPath.c_str(), &job->file);
    if (err != 0)
        return err;
    job->fileBegun = true;
    job->pdf->setTitle(name);
    job->pdf->setCreator(QString::fromUtf8(ABOUT_PRODUCT));
    if (!job->pdfBytes.open(QIODevice::WriteOnly) || !job->painter.begin(job->pdf.get()))
        return ERR_PRINT_REFUSED;
    return 0;
}

// The first page comes with the document.
int printerStartPage(PrintJob* job) {
    return job->painter.isActive() ? 0 : ERR_PRINT_REFUSED;
}

int printerEndPage(PrintJob* job) {
    return job->painter.isActive() ? 0 : ERR_PRINT_REFUSED;
}

int printerEndDocument(PrintJob* job) {
    if (!job->painter.end())
        return ERR_PRINT_REFUSED;
    return job->printer ? 0 : writePdfFile(job);
}

void printerRelease(PrintJob* job) {
    if (job->painter.isActive()) {
        if (job->printer)
            job->printer->abort();
        job->painter.end();
    }
    if (job->fileBegun)
        fileReplaceAbandon(&job->file);
    delete job;
}
