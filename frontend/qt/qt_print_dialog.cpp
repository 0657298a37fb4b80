// Choosing the printer: Qt's print dialog, every time, owned by the main
// window. It offers the printers the system knows and always a PDF file, so a
// machine without any printer can still print.
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "frontend/qt/qt_chosen_name.h"
#include "frontend/qt/qt_main_window.h"
#include "frontend/qt/qt_printer.h"
#include "res/program_names.h"

namespace {
// The PDF file last printed to in this run.
QString lastPdfName;

QString suggestedPdfName() {
    if (!lastPdfName.isEmpty())
        return lastPdfName;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("korvex.pdf"));
}
} // namespace

int getPrinterDC(PrintJob** job) {
    *job = nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The page is the window's client area, wider than high.
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setDocName(QString::fromUtf8(APP_TITLE));
    // Naming a file makes the PDF the dialog's choice: only where there is
    // nothing else to print on.
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        printer->setOutputFileName(suggestedPdfName());

    QPrintDialog dialog(printer.get(), qtMainWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    QByteArray pdfPath;
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        // The dialog's name for the file, as the bytes of the file it means.
        if (!qtChosenName(printer->outputFileName(), true, &pdfPath)) {
            qtRefuseChosenName(qtMainWindow(), dialog.windowTitle(), printer->outputFileName(),
                               true);
            return 0;
        }
        lastPdfName = printer->outputFileName();
    }
    *job = qtPrintJobFor(std::move(printer), pdfPath.constData());
    return 0;
}
