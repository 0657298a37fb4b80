// The Qt dialogs driven through their widgets: the acquisition dialog with a
// given content, the modeless progress frame on the client area, and the file
// dialogs. The main window is built by the program's own window creation in
// a scratch working directory, COM1 on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "acquire/transfer_sequence.h"
#include "app/transfer_command.h"
#include "data/sample_store.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "ui/frontend.h"

namespace {

QPushButton* buttonWithText(QWidget* parent, const QString& text) {
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Answers the question box that comes up next, then runs then.
void answerQuestion(QMessageBox::StandardButton choice, std::function<void()> then = {},
                    int triesLeft = 200) {
    whenModal([choice, then, triesLeft](QWidget* modal) {
        if (auto* question = qobject_cast<QMessageBox*>(modal)) {
            question->button(choice)->click();
            if (then)
                then();
        } else if (triesLeft > 0) {
            answerQuestion(choice, then, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no question came";
            modal->close();
        }
    });
}

AcquisitionDialogContent contentAtFiveHundredths() {
    AcquisitionDialogContent content{};
    std::strcpy(content.title, "Data acquisition");
    std::strcpy(content.groupLabel, "Data amount");
    for (int k = 0; k < ACQUISITION_SPANS; ++k) {
        std::snprintf(content.spanLabels[k], sizeof content.spanLabels[k], "span %d", k);
        // As at an interval of 5: 2 minutes and from 18 hours on are off.
        content.spanEnabled[k] = k >= 1 && k <= 8;
    }
    content.checkedSpan = 7;
    std::strcpy(content.intervalLabel, "Acquisition interval");
    std::strcpy(content.intervalText, "0.05");
    std::strcpy(content.cancelLabel, "Cancel");
    std::strcpy(content.okLabel, "Get");
    return content;
}

class QtDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        qtTestApplication();
        // A window another suite destroyed may have posted its quit; let it
        // run now, outside any dialog's loop.
        QCoreApplication::sendPostedEvents();
        enterScratchPlace(&place, "korvex-qt-dialogs");
        window = new QtMainWindow;
        window->show();
    }
    static void TearDownTestSuite() {
        destroyTestWindow(&window);
        leaveScratchPlace(&place);
    }
    void SetUp() override { selectedAmount = AMOUNT_UNTOUCHED; }

    static constexpr int AMOUNT_UNTOUCHED = -5;
    static inline QtMainWindow* window = nullptr;
    static inline QtScratchPlace place;
};

TEST_F(QtDialogs, AcquisitionDialogShowsItsContentAndEndsWithTheClickedSpan) {
    const AcquisitionDialogContent content = contentAtFiveHundredths();
    QStringList seen;
    whenModal([&seen](QWidget* dialog) {
        seen << dialog->windowTitle();
        QList<QRadioButton*> spans = dialog->findChildren<QRadioButton*>();
        seen << QString::number(spans.size());
        for (int k = 0; k < spans.size(); ++k) {
            QRadioButton* span = spans[k];
            seen << QStringLiteral("%1 %2 %3")
                        .arg(span->text(), span->isEnabled() ? "on" : "off",
                             span->isChecked() ? "checked" : "-");
        }
        QLineEdit* interval = dialog->findChild<QLineEdit*>();
        seen << interval->text() << (interval->isReadOnly() ? "read-only" : "editable");
        for (QLabel* label : dialog->findChildren<QLabel*>())
            seen << label->text();
        // A disabled span takes no click; an enabled one is chosen, then Get.
        spans[0]->click();
        spans[3]->click();
        buttonWithText(dialog, "Get")->click();
    });
    const int result = uiRunAcquisitionDialog(&content);

    EXPECT_EQ(result, 4) << "span 3 is result 4";
    EXPECT_EQ(selectedAmount, 3) << "the span click reached the program";
    ASSERT_GE(seen.size(), 2);
    EXPECT_EQ(seen[0], "Data acquisition");
    ASSERT_EQ(seen[1], "14");
    EXPECT_EQ(seen[2], "span 0 off -");
    EXPECT_EQ(seen[3], "span 1 on -");
    EXPECT_EQ(seen[9], "span 7 on checked");
    EXPECT_EQ(seen[10], "span 8 on -");
    EXPECT_EQ(seen[11], "span 9 off -");
    EXPECT_EQ(seen[15], "span 13 off -");
    EXPECT_EQ(seen[16], "0.05");
    EXPECT_EQ(seen[17], "read-only");
    EXPECT_TRUE(seen.contains("Acquisition interval"));
    EXPECT_TRUE(seen.contains("s"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtDialogs, AcquisitionDialogEndsThroughTheProgramOnEveryKey) {
    const AcquisitionDialogContent content = contentAtFiveHundredths();
    // Get without a span click: the program's own default, which the dialog
    // procedure set when it opened.
    selectedAmount = 7;
    whenModal([](QWidget* dialog) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(dialog, &enter);
    });
    EXPECT_EQ(uiRunAcquisitionDialog(&content), 8);

    whenModal([](QWidget* dialog) {
        dialog->findChildren<QRadioButton*>()[2]->click();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog, &escape);
    });
    EXPECT_EQ(uiRunAcquisitionDialog(&content), 0) << "Escape is Cancel";
    EXPECT_EQ(selectedAmount, 2);

    whenModal([](QWidget* dialog) { buttonWithText(dialog, "Cancel")->click(); });
    EXPECT_EQ(uiRunAcquisitionDialog(&content), 0);

    whenModal([](QWidget* dialog) { dialog->close(); });
    EXPECT_EQ(uiRunAcquisitionDialog(&content), 0) << "the close box is Cancel";
}

TEST_F(QtDialogs, ProgressFrameStandsAtTheClientAreasTopLeftAndGoesAway) {
    uiProgressCreate("Transferring data, please wait...", "Abort");
    QList<QFrame*> frames;
    for (QFrame* frame : window->chart->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
        if (frame->findChild<QProgressBar*>() != nullptr)
            frames << frame;
    ASSERT_EQ(frames.size(), 1);
    QFrame* frame = frames[0];
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    EXPECT_EQ(frame->mapTo(window, QPoint(0, 0)), window->chart->mapTo(window, QPoint(0, 0)))
        << "the client area begins below the menu bar";
    QLabel* text = frame->findChild<QLabel*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Transferring data, please wait...");
    QProgressBar* bar = frame->findChild<QProgressBar*>();
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    uiProgressSetPosition(42);
    EXPECT_EQ(bar->value(), 42);

    // A second create while one is shown keeps the one shown.
    uiProgressCreate("again", "again");
    QPointer<QFrame> watched = frame;
    QPushButton* abort = buttonWithText(frame, "Abort");
    ASSERT_NE(abort, nullptr);

    // Abort reaches the program, whose posted abort command ends the reception.
    transferActive = true;
    abort->click();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(transferActive);

    uiProgressDestroy();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    uiProgressSetPosition(50); // nothing left to move, nothing to break
    int remaining = 0;
    for (QFrame* other : window->chart->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
        if (other->findChild<QProgressBar*>() != nullptr)
            ++remaining;
    EXPECT_EQ(remaining, 0);
}

const FileDialogSpec SAVE_SPEC = {
    FILE_DIALOG_SAVE, "KVD File (*.kvd)", "*.kvd", "kvd", true, false};
const FileDialogSpec OPEN_SPEC = {
    FILE_DIALOG_OPEN, "KVD File (*.kvd)", "*.kvd", "kvd", false, true};

TEST_F(QtDialogs, FileDialogsGiveTheChosenNameOrACancel) {
    const std::string target = std::string(place.workDir) + "/chosen";
    whenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"KVD File (*.kvd)"});
    });
    chooseInFileDialog(target);
    char path[512];
    int error = -1;
    ASSERT_TRUE(uiRunFileDialog(&SAVE_SPEC, path, sizeof path, &error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::string(path), target + ".kvd") << "the default extension is added";

    whenModal([](QWidget* modal) { modal->close(); });
    error = -1;
    EXPECT_FALSE(uiRunFileDialog(&SAVE_SPEC, path, sizeof path, &error));
    EXPECT_EQ(error, 0) << "a plain cancel";

    chooseInFileDialog(target);
    char tooSmall[8];
    EXPECT_FALSE(uiRunFileDialog(&SAVE_SPEC, tooSmall, sizeof tooSmall, &error));
    EXPECT_EQ(error, 0x3003) << "FNERR_BUFFERTOOSMALL";
}

TEST_F(QtDialogs, OpeningAMissingFileAsksBeforeGivingItsName) {
    const std::string missing = std::string(place.workDir) + "/missing.kvd";
    int questions = 0;
    // No returns to the file dialog; the same name again and Yes give it.
    chooseInFileDialog(missing, [&] {
        answerQuestion(QMessageBox::No, [&] {
            ++questions;
            chooseInFileDialog(missing,
                               [&] { answerQuestion(QMessageBox::Yes, [&] { ++questions; }); });
        });
    });
    char path[512];
    int error = -1;
    ASSERT_TRUE(uiRunFileDialog(&OPEN_SPEC, path, sizeof path, &error));
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(std::string(path), missing);
}

// The dialog lists a file named in Latin-1 with U+FFFD in place of its odd
// byte; that name, encoded again, is another file's or none, so it is
// refused with the dialog's own words and the user picks again.
TEST_F(QtDialogs, ANameTheDialogCanOnlyShowAlteredIsRefused) {
    const std::string latin1 = std::string(place.workDir) + "/rep\xe6.kvd";
    const std::string plain = std::string(place.workDir) + "/plain.kvd";
    for (const std::string& name : {latin1, plain})
        std::fclose(std::fopen(name.c_str(), "wb"));
    QString refusal;
    chooseInFileDialog(std::string(place.workDir) + "/rep\xef\xbf\xbd.kvd", [&] {
        whenModal([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                refusal = box->text();
                box->button(QMessageBox::Ok)->click();
            }
            chooseInFileDialog(plain);
        });
    });
    char path[512];
    int error = -1;
    ASSERT_TRUE(uiRunFileDialog(&OPEN_SPEC, path, sizeof path, &error));
    EXPECT_TRUE(refusal.contains("File not found")) << refusal.toStdString();
    EXPECT_EQ(std::string(path), plain);
}

} // namespace

// Enter presses "End time", the later of the template's two default buttons,
// as the Win32 dialog manager does.
TEST_F(QtDialogs, SetTimeDialogStepsPlainIntegersRefusesOverItselfAndEnterSetsTheEnd) {
    dataHeader = {100, 7, 3600, {}};
    sampleStore[0] = {9, 12, 25, 14, 30, 5, 0, 0, 50};
    dataPresent = true;
    QString stepped, refusal;
    QWidget* refusalOwner = nullptr;
    QWidget* dialog = nullptr;
    whenModal([&](QWidget* modal) {
        dialog = modal;
        const QList<QAbstractSpinBox*> fields = modal->findChildren<QAbstractSpinBox*>();
        ASSERT_EQ(fields.size(), 6);
        QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(fields[2], &up); // the year
        stepped = fields[2]->text();
        fields[3]->findChild<QLineEdit*>()->setText("x"); // an hour that is no number
        whenModal([&](QWidget* box) {
            refusalOwner = box->parentWidget();
            refusal = qobject_cast<QMessageBox*>(box)->text();
            box->close();
        });
        buttonWithText(modal, "Start time")->click();
        fields[3]->findChild<QLineEdit*>()->setText("10");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(fields[3], &enter);
    });
    window->menuActions[IDM_SET_TIME]->trigger();
    EXPECT_EQ(stepped, QStringLiteral("2010"));
    EXPECT_EQ(refusal, QStringLiteral("Invalid time settings!"));
    EXPECT_EQ(refusalOwner, dialog);
    const SampleRecord& last = sampleStore[3599];
    EXPECT_EQ((std::vector<int>{last.day, last.month, last.year, last.hour, last.minute}),
              (std::vector<int>{25, 12, 10, 10, 30}));
    dataPresent = false;
}
