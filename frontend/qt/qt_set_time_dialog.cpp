// The set-time dialog, laid out as its template in dialog units: a date row
// and a time row of edits with up-down controls, and three buttons. Every
// button is handed to the program's setTimeDialogCommand with the six texts
// as typed; the program judges them.
#include <QAbstractSpinBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/set_time_command.h"
#include "frontend/qt/qt_dialog_units.h"
#include "frontend/qt/qt_main_window.h"
#include "ui/frontend.h"

namespace {

// An edit that takes any text, with an up-down control at its right edge, as
// an up-down control with a buddy edit behaves: a step starts from the number
// the edit holds (or from the last position when it holds none), stays in the
// range, and writes a plain integer, 2009 and never 2,009. The arrow keys step
// it too.
class UpDownEdit : public QAbstractSpinBox {
  public:
    UpDownEdit(int lowest, int highest, int position, QWidget* parent)
        : QAbstractSpinBox(parent), lowest_(lowest), highest_(highest), position_(position) {
        lineEdit()->setText(QString::number(position));
        lineEdit()->setAlignment(Qt::AlignCenter);
        // The template's edits are sized for a narrower font than the
        // desktop's: a pixel less, and no margin of the line edit's own, let
        // the year's four digits fit beside the arrows.
        setFontPixels(this, SMALL_DIALOG_FONT_PIXELS - 1);
        lineEdit()->setTextMargins(-2, 0, -2, 0);
    }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
    void fixup(QString&) const override {}
    void stepBy(int steps) override {
        bool isNumber = false;
        const qint64 typed = text().trimmed().toLongLong(&isNumber);
        const qint64 from = isNumber ? typed : position_;
        position_ = int(std::clamp<qint64>(from + steps, lowest_, highest_));
        lineEdit()->setText(QString::number(position_));
    }

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

  private:
    int lowest_;
    int highest_;
    int position_;
};

class SetTimeDialog : public QDialog {
  public:
    explicit SetTimeDialog(QWidget* parent) : QDialog(parent) {}
    UpDownEdit* fields[SET_TIME_FIELDS] = {};

    void command(int id) {
        std::string texts[SET_TIME_FIELDS];
        const char* entries[SET_TIME_FIELDS];
        for (int field = 0; field < SET_TIME_FIELDS; ++field) {
            texts[field] = fields[field]->text().toStdString();
            entries[field] = texts[field].c_str();
        }
        int result = 0;
        if (setTimeDialogCommand(id, entries, &result))
            done(result);
    }
    // Escape and the close box are Cancel.
    void reject() override { command(SET_TIME_CANCEL); }
};

// Where each edit stands (its up-down control sits inside its right edge),
// in the order of the fields: day, month, year, hour, minute, second.
const QRect FIELD_AREAS[SET_TIME_FIELDS] = {
    {41, 23, 24, 14}, {79, 23, 24, 14}, {116, 23, 31, 14},
    {41, 47, 24, 14}, {79, 47, 24, 14}, {116, 47, 24, 14},
};
struct Separator {
    const char* text;
    int x, y;
};
const Separator SEPARATORS[] = {{"/", 70, 25}, {"-", 108, 25}, {":", 70, 49}, {":", 108, 49}};

QRect units(const QRect& area) {
    return smallDialogUnits(area.x(), area.y(), area.width(), area.height());
}

QPushButton* addButton(SetTimeDialog* dialog, const char* text, QRect area, int id) {
    auto* button = new QPushButton(QString::fromUtf8(text), dialog);
    button->setGeometry(units(area));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, id] { dialog->command(id); });
    return button;
}

} // namespace

int uiRunSetTimeDialog(const SetTimeDialogContent* content) {
    QtMainWindow* window = qtMainWindow();
    if (window == nullptr)
        return -1;
    SetTimeDialog dialog(window);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(content->title));
    setFontPixels(&dialog, SMALL_DIALOG_FONT_PIXELS);
    dialog.setFixedSize(smallDialogUnits(0, 0, 186, 110).size());

    auto* dateLabel = new QLabel(QString::fromUtf8(content->dateLabel), &dialog);
    dateLabel->setGeometry(units({7, 25, 32, 8}));
    auto* timeLabel = new QLabel(QString::fromUtf8(content->timeLabel), &dialog);
    timeLabel->setGeometry(units({7, 49, 32, 8}));
    for (const Separator& separator : SEPARATORS) {
        auto* label = new QLabel(QString::fromUtf8(separator.text), &dialog);
        label->setGeometry(units({separator.x, separator.y, 8, 8}));
    }
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        dialog.fields[field] = new UpDownEdit(content->lowest[field], content->highest[field],
                                              content->position[field], &dialog);
        dialog.fields[field]->setGeometry(units(FIELD_AREAS[field]));
    }
    // Both restamping buttons are default buttons in the template; the dialog
    // manager makes the later one the default, so Enter sets the end time.
    addButton(&dialog, content->startLabel, {7, 77, 51, 14}, SET_TIME_START);
    addButton(&dialog, content->cancelLabel, {69, 77, 50, 14}, SET_TIME_CANCEL);
    addButton(&dialog, content->endLabel, {129, 77, 51, 14}, SET_TIME_END)->setDefault(true);
    return dialog.exec();
}
