// The acquisition dialog, the modeless progress dialog and the file dialogs.
// Layout follows the dialog templates in dialog units; the logic stays with
// the transfer sequence, which every click is handed to.
#include <QButtonGroup>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>

#include "app/transfer_command.h"
#include "frontend/qt/qt_chosen_name.h"
#include "frontend/qt/qt_dialog_units.h"
#include "frontend/qt/qt_main_window.h"
#include "ui/frontend.h"

namespace {

constexpr int DIALOG_GET = 1;
constexpr int DIALOG_CANCEL = 2;
constexpr int DIALOG_FIRST_SPAN = 1001;
// The common dialogs' number for a name that does not fit the buffer.
constexpr int FNERR_BUFFERTOOSMALL = 0x3003;

// Every ending goes through acquisitionDialogCommand, as the dialog
// procedure's WM_COMMAND does: Enter is Get, Escape and the close box Cancel.
class AcquisitionDialog : public QDialog {
  public:
    explicit AcquisitionDialog(QWidget* parent) : QDialog(parent) {}
    void command(int id) {
        int result = 0;
        if (acquisitionDialogCommand(id, &result))
            done(result);
    }
    void reject() override { command(DIALOG_CANCEL); }
    void accept() override { command(DIALOG_GET); }
};

// The radio buttons' places: two columns of seven.
const int SPAN_X[ACQUISITION_SPANS] = {18, 18, 18, 18, 18, 18, 18, 89, 89, 89, 89, 89, 89, 89};
const int SPAN_Y[ACQUISITION_SPANS] = {28, 41, 55, 68, 81, 94, 107, 28, 40, 53, 66, 80, 94, 107};

QPointer<QFrame> progressFrame;
QPointer<QProgressBar> progressBar;

} // namespace

int uiRunAcquisitionDialog(const AcquisitionDialogContent* content) {
    QtMainWindow* window = qtMainWindow();
    if (window == nullptr)
        return -1;
    AcquisitionDialog dialog(window);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(content->title));
    setFontPixels(&dialog, SMALL_DIALOG_FONT_PIXELS);
    dialog.setFixedSize(smallDialogUnits(0, 0, 268, 138).size());

    auto* group = new QGroupBox(QString::fromUtf8(content->groupLabel), &dialog);
    group->setGeometry(smallDialogUnits(13, 14, 155, 112));
    auto* buttons = new QButtonGroup(&dialog);
    for (int k = 0; k < ACQUISITION_SPANS; ++k) {
        auto* radio = new QRadioButton(QString::fromUtf8(content->spanLabels[k]), &dialog);
        radio->setGeometry(smallDialogUnits(SPAN_X[k], SPAN_Y[k], 57, 10));
        radio->setChecked(k == content->checkedSpan);
        radio->setEnabled(content->spanEnabled[k]);
        buttons->addButton(radio, DIALOG_FIRST_SPAN + k);
    }
    QObject::connect(buttons, &QButtonGroup::idClicked, &dialog,
                     [&dialog](int id) { dialog.command(id); });

    auto* intervalLabel = new QLabel(QString::fromUtf8(content->intervalLabel), &dialog);
    intervalLabel->setGeometry(smallDialogUnits(184, 32, 77, 8));
    auto* interval = new QLineEdit(QString::fromUtf8(content->intervalText), &dialog);
    interval->setGeometry(smallDialogUnits(189, 47, 30, 14));
    interval->setReadOnly(true);
    interval->setAlignment(Qt::AlignRight);
    auto* unit = new QLabel(QStringLiteral("s"), &dialog);
    unit->setGeometry(smallDialogUnits(221, 47, 8, 8));

    auto* cancel = new QPushButton(QString::fromUtf8(content->cancelLabel), &dialog);
    cancel->setGeometry(smallDialogUnits(194, 82, 50, 14));
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog] { dialog.reject(); });
    auto* get = new QPushButton(QString::fromUtf8(content->okLabel), &dialog);
    get->setGeometry(smallDialogUnits(194, 112, 50, 14));
    get->setDefault(true);
    QObject::connect(get, &QPushButton::clicked, &dialog, [&dialog] { dialog.accept(); });

    return dialog.exec();
}

void uiProgressCreate(const char* text, const char* abortLabel) {
    QtMainWindow* window = qtMainWindow();
    if (window == nullptr || progressFrame != nullptr)
        return;
    auto* frame = new QFrame(window->chart);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setAutoFillBackground(true);
    setFontPixels(frame, PROGRESS_FONT_PIXELS);
    frame->setGeometry(progressUnits(0, 0, 155, 68));
    auto* label = new QLabel(QString::fromUtf8(text), frame);
    label->setGeometry(progressUnits(7, 7, 141, 8));
    label->setAlignment(Qt::AlignHCenter);
    auto* bar = new QProgressBar(frame);
    bar->setGeometry(progressUnits(7, 22, 141, 14));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    auto* abort = new QPushButton(QString::fromUtf8(abortLabel), frame);
    abort->setGeometry(progressUnits(52, 47, 50, 14));
    QObject::connect(abort, &QPushButton::clicked, [] { progressAbortClicked(); });
    frame->show();
    progressFrame = frame;
    progressBar = bar;
}

void uiProgressSetPosition(int position) {
    if (progressBar != nullptr)
        progressBar->setValue(position);
}

void uiProgressDestroy() {
    // The Abort button's own click may be what leads here. Hidden at once, as
    // a destroyed window goes: a message box shown next would otherwise run
    // its own event loop with the frame still on screen behind it.
    if (progressFrame != nullptr) {
        progressFrame->hide();
        progressFrame->deleteLater();
    }
    progressFrame = nullptr;
    progressBar = nullptr;
}

bool uiRunFileDialog(const FileDialogSpec* spec, char* path, size_t size, int* dialogError) {
    *dialogError = 0;
    QFileDialog dialog(qtMainWindow());
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(
        QString::fromUtf8(spec->filterName).section(QLatin1Char('('), 0, 0).trimmed(),
        QString::fromUtf8(spec->filterPattern)));
    dialog.setDefaultSuffix(QString::fromUtf8(spec->defaultExtension));
    bool save = spec->kind == FILE_DIALOG_SAVE;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || spec->createPrompt ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec->overwritePrompt);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return false;
        QString chosen = dialog.selectedFiles().first();
        QByteArray name;
        if (!qtChosenName(chosen, save || spec->createPrompt, &name)) {
            qtRefuseChosenName(&dialog, dialog.windowTitle(), chosen, save);
            continue;
        }
        if (!save && spec->createPrompt && !QFileInfo::exists(chosen)) {
            QString question =
                QStringLiteral("%1\nThis file does not exist.\nCreate the file?").arg(chosen);
            if (QMessageBox::question(&dialog, dialog.windowTitle(), question) != QMessageBox::Yes)
                continue;
        }
        if (size_t(name.size()) >= size) {
            *dialogError = FNERR_BUFFERTOOSMALL;
            return false;
        }
        std::memcpy(path, name.constData(), size_t(name.size()) + 1);
        return true;
    }
}
