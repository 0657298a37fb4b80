// The Analysis window: a modeless dialog owned by the main window, built
// once and filled by the program's texts. The user's changes go to
// app/analysis_window.h; only signals of the user's own actions are
// connected, so what the program puts in the controls is not sent back.
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "app/analysis_window.h"
#include "app/main_window.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "ui/frontend.h"

namespace {

class AnalysisDialog : public QDialog {
  public:
    explicit AnalysisDialog(QWidget* owner) : QDialog(owner) {
        setObjectName("analysisWindow");
        setModal(false);
        auto* layout = new QVBoxLayout(this);

        auto* scopeRow = new QHBoxLayout;
        scopeLabel = new QLabel(this);
        scopeRow->addWidget(scopeLabel);
        scopeGroup = new QButtonGroup(this);
        for (int k = 0; k < ANALYSIS_SCOPES; ++k) {
            scopes[k] = new QRadioButton(this);
            scopes[k]->setObjectName(QString("analysisScope%1").arg(k));
            scopeGroup->addButton(scopes[k], k);
            scopeRow->addWidget(scopes[k]);
        }
        scopeRow->addStretch();
        layout->addLayout(scopeRow);

        auto* settings = new QGridLayout;
        demandLabel = new QLabel(this);
        demand = new QComboBox(this);
        demand->setObjectName("analysisDemand");
        thresholdsLabel = new QLabel(this);
        thresholds = new QLineEdit(this);
        thresholds->setObjectName("analysisThresholds");
        ratedLabel = new QLabel(this);
        rated = new QLineEdit(this);
        rated->setObjectName("analysisRated");
        demandLabel->setBuddy(demand);
        thresholdsLabel->setBuddy(thresholds);
        ratedLabel->setBuddy(rated);
        settings->addWidget(demandLabel, 0, 0);
        settings->addWidget(demand, 0, 1);
        settings->addWidget(thresholdsLabel, 1, 0);
        settings->addWidget(thresholds, 1, 1);
        settings->addWidget(ratedLabel, 2, 0);
        settings->addWidget(rated, 2, 1);
        layout->addLayout(settings);

        figures = new QPlainTextEdit(this);
        figures->setObjectName("analysisFigures");
        figures->setReadOnly(true);
        figures->setMinimumHeight(220);
        layout->addWidget(figures);

        listLabel = new QLabel(this);
        layout->addWidget(listLabel);
        list = new QListWidget(this);
        list->setObjectName("analysisList");
        list->setMinimumHeight(140);
        layout->addWidget(list);

        auto* buttons = new QHBoxLayout;
        copy = new QPushButton(this);
        copy->setObjectName("analysisCopy");
        report = new QPushButton(this);
        report->setObjectName("analysisReport");
        close = new QPushButton(this);
        close->setObjectName("analysisClose");
        for (QPushButton* button : {copy, report, close})
            button->setAutoDefault(false);
        buttons->addStretch();
        buttons->addWidget(copy);
        buttons->addWidget(report);
        buttons->addWidget(close);
        layout->addLayout(buttons);

        connect(scopeGroup, &QButtonGroup::idClicked, this,
                [](int id) { analysisScopeChosen(id); });
        connect(demand, &QComboBox::activated, this,
                [](int index) { analysisDemandChosen(index); });
        connect(thresholds, &QLineEdit::textEdited, this, [](const QString& text) {
            analysisThresholdsEdited(text.trimmed().toUtf8().constData());
        });
        connect(rated, &QLineEdit::textEdited, this, [](const QString& text) {
            analysisRatedEdited(text.trimmed().toUtf8().constData());
        });
        // Queued: the charts' move refills this list, which must not happen
        // inside the list's own signal.
        connect(
            list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { analysisRowChosen(list->row(item)); },
            Qt::QueuedConnection);
        connect(copy, &QPushButton::clicked, this, [] { analysisCopy(); });
        connect(report, &QPushButton::clicked, this,
                [] { mainWindowCommand(IDM_ANALYSIS_REPORT, 0); });
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
        connect(this, &QDialog::finished, this, [] { analysisWindowClosed(); });
        // It goes with the main window that owns it.
        connect(this, &QObject::destroyed, [] { analysisWindowClosed(); });
    }

    QLabel *scopeLabel, *demandLabel, *thresholdsLabel, *ratedLabel, *listLabel;
    QButtonGroup* scopeGroup;
    QRadioButton* scopes[ANALYSIS_SCOPES];
    QComboBox* demand;
    QLineEdit *thresholds, *rated;
    QPlainTextEdit* figures;
    QListWidget* list;
    QPushButton *copy, *report, *close;
};

QPointer<AnalysisDialog> dialog;
std::string clipboardText;

} // namespace

void uiAnalysisShow(const AnalysisWindowTexts* texts, bool toFront) {
    const bool first = dialog.isNull();
    if (first)
        dialog = new AnalysisDialog(qtMainWindow());
    dialog->setWindowTitle(QString::fromUtf8(texts->caption));
    dialog->scopeLabel->setText(QString::fromUtf8(texts->scopeLabel));
    for (int k = 0; k < ANALYSIS_SCOPES; ++k)
        dialog->scopes[k]->setText(QString::fromUtf8(texts->scopes[k]));
    dialog->demandLabel->setText(QString::fromUtf8(texts->demandLabel));
    const int demandChoice = dialog->demand->currentIndex();
    dialog->demand->clear();
    for (const char* choice : texts->demandChoices)
        dialog->demand->addItem(QString::fromUtf8(choice));
    dialog->demand->setCurrentIndex(demandChoice);
    dialog->thresholdsLabel->setText(QString::fromUtf8(texts->thresholdsLabel));
    dialog->ratedLabel->setText(QString::fromUtf8(texts->ratedLabel));
    dialog->listLabel->setText(QString::fromUtf8(texts->listLabel));
    dialog->copy->setText(QString::fromUtf8(texts->copyLabel));
    dialog->report->setText(QString::fromUtf8(texts->reportLabel));
    dialog->close->setText(QString::fromUtf8(texts->closeLabel));
    if (first) {
        // Beside the main window, where it hides none of the charts, as far
        // as the screen allows.
        dialog->adjustSize();
        if (QWidget* owner = qtMainWindow()) {
            QPoint at = owner->frameGeometry().topRight() + QPoint(8, 0);
            if (const QScreen* screen = owner->screen()) {
                const QRect room = screen->availableGeometry();
                at.setX(std::max(room.left(), std::min(at.x(), room.right() - dialog->width())));
            }
            dialog->move(at);
        }
    }
    if (!toFront)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    // The list has the keyboard: Enter goes to the peak, the first row.
    dialog->list->setFocus();
}

void uiAnalysisSetSettings(int scope, int demandChoice, const char* thresholds,
                           const char* ratedKw) {
    if (dialog.isNull())
        return;
    if (scope >= 0 && scope < ANALYSIS_SCOPES)
        dialog->scopes[scope]->setChecked(true);
    dialog->demand->setCurrentIndex(demandChoice);
    dialog->thresholds->setText(QString::fromUtf8(thresholds));
    dialog->rated->setText(QString::fromUtf8(ratedKw));
}

void uiAnalysisSetFigures(const char* text) {
    if (!dialog.isNull())
        dialog->figures->setPlainText(QString::fromUtf8(text));
}

void uiAnalysisSetList(const char* const* rows, int count) {
    if (dialog.isNull())
        return;
    dialog->list->clear();
    for (int k = 0; k < count; ++k)
        dialog->list->addItem(QString::fromUtf8(rows[k]));
    dialog->list->setCurrentRow(count > 0 ? 0 : -1);
}

void uiClipboardAppend(const char* text, size_t length) {
    clipboardText.append(text, length);
}

void uiClipboardCommit() {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(clipboardText));
    clipboardText.clear();
}

int uiOpenDocument(const char* path) {
    const QUrl url = QUrl::fromLocalFile(QString::fromLocal8Bit(path));
    return QDesktopServices::openUrl(url) ? 0 : 1;
}
