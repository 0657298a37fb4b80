// Print jobs on Qt. A PDF is drawn into memory and written through the
// file-replacement service at the end of the document: a full disk or a
// failed write is found there and reported, while the chosen name still
// holds the old file (or none). A printer is drawn on directly.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <string>

#include "base/error_codes.h"
#include "frontend/qt/qt_paper_canvas.h"
#include "frontend/qt/qt_printer.h"
#include "platform/file.h"
#include "res/program_names.h"

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

// A PDF is drawn into memory; the file is begun with the document. Its name
// stays the bytes it was given: through a QString, a name that is not UTF-8
// would turn into another file's.
PrintJob* pdfJob(const char* path, const QPageLayout& layout, int resolution) {
    auto* job = new PrintJob;
    job->pdfPath = path;
    job->pdf = std::make_unique<QPdfWriter>(&job->pdfBytes);
    job->pdf->setResolution(resolution);
    job->pdf->setPageLayout(layout);
    return job;
}

QtMessageHandler qtOwnHandler;

// A tool's standard error is for what its user must know. Qt's remarks on a
// window system the tool never shows a window on (that there is no runtime
// directory, say) are not; its reports of real failures are.
void keepQtFailuresOnly(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if ((type == QtCriticalMsg || type == QtFatalMsg) && qtOwnHandler != nullptr)
        qtOwnHandler(type, context, text);
}

// A tool has no application of its own; fonts and the PDF engine need one,
// and no display. It lives until the process ends.
void needGuiApplication() {
    static int argc = 1;
    static char name[] = "korvex";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtOwnHandler = qInstallMessageHandler(keepQtFailuresOnly);
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace

PrintJob* qtPrintJobFor(std::unique_ptr<QPrinter> printer, const char* pdfPath) {
    if (printer->outputFormat() == QPrinter::PdfFormat)
        return pdfJob(pdfPath, printer->pageLayout(), printer->resolution());
    auto* job = new PrintJob;
    job->printer = std::move(printer);
    return job;
}

int printerOpenPdf(const char* path, PrintJob** job) {
    needGuiApplication();
    // As the print dialog offers it: 10 pt margins, 1200 dots per inch.
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                             QMarginsF(10, 10, 10, 10), QPageLayout::Point);
    *job = pdfJob(path, layout, 1200);
    return 0;
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
