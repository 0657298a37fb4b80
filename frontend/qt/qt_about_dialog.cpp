// The About box: the picture, the product and its version, and OK.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "frontend/qt/qt_main_window.h"
#include "frontend/qt/qt_picture.h"
#include "res/program_names.h"
#include "ui/frontend.h"

namespace {
constexpr int DIALOG_OK = 1;
constexpr int DIALOG_CANCEL = 2;
} // namespace

int uiRunAboutDialog(const char* caption) {
    QDialog dialog(qtMainWindow());
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(caption));
    dialog.setFixedSize(345, 122);

    auto* picture = new QLabel(&dialog);
    picture->setPixmap(QPixmap::fromImage(aboutPictureImage()));
    picture->setGeometry(15, 13, 64, 64);
    auto* product = new QLabel(QString::fromUtf8(ABOUT_PRODUCT), &dialog);
    product->move(90, 23);
    auto* version = new QLabel(QString::fromUtf8(ABOUT_VERSION), &dialog);
    version->move(90, 42);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(270, 10, 64, 26);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);

    // Escape and the close box reject: Win32's IDCANCEL.
    return dialog.exec() == QDialog::Accepted ? DIALOG_OK : DIALOG_CANCEL;
}
