// The Qt main window built by the program's own window creation (in a scratch
// working directory, COM1 on a pseudo-terminal): its layout, the menu bar
// with its check marks, the span selector, the scroll bar's Win32 rules and
// the close box, with its question about unsaved samples.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "ui/frontend.h"

namespace {

// Each test builds its own window, so no test sees what another one changed
// (a span selector refilled, a window closed).
class QtMainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        qtTestApplication();
        enterScratchPlace(&place, "korvex-qt-test");
    }
    static void TearDownTestSuite() { leaveScratchPlace(&place); }
    void SetUp() override {
        unlink("DAQSetup.cnf");
        window = new QtMainWindow;
    }
    void TearDown() override { destroyTestWindow(&window); }

    static QAction* item(int commandId) {
        const auto found = window->menuActions.find(commandId);
        return found == window->menuActions.end() ? nullptr : found->second;
    }

    static inline QtMainWindow* window = nullptr;
    static inline QtScratchPlace place;
};

TEST_F(QtMainWindowTest, ClientAreaHoldsTheChartsAndTheControls) {
    ASSERT_TRUE(window->created());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vantorix Data Acquisition Software"));
    EXPECT_EQ(window->chart->size(), QSize(800, 577));
    EXPECT_EQ(window->spanSelector->geometry().topLeft(), QPoint(10, 330));
    EXPECT_EQ(window->spanSelector->width(), 100);
    EXPECT_EQ(window->spanSelector->count(), 14);
    EXPECT_EQ(window->spanSelector->currentText(), QStringLiteral("2 minutes"));
    EXPECT_EQ(window->scrollBar->geometry().topLeft(), QPoint(150, 555));
    EXPECT_EQ(window->scrollBar->width(), 600);
    EXPECT_TRUE(window->scrollBar->isHidden());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(QtMainWindowTest, MenuBarFollowsTheEntriesWithCheckMarksOnly) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Communication", "&Data acquisition", "&Print",
                                   "&Language", "&About", "A&nalysis"}));
    ASSERT_NE(item(IDM_COM1), nullptr);
    EXPECT_TRUE(item(IDM_COM1)->isChecked());
    EXPECT_TRUE(item(IDM_LANG_ENGLISH)->isChecked());
    EXPECT_FALSE(item(IDM_LANG_GERMAN)->isCheckable());
    EXPECT_TRUE(item(IDM_COM1)->text().startsWith("COM &1\t"));
    EXPECT_TRUE(item(IDM_COM1)->shortcut().isEmpty());

    uiCheckMenuItem(IDM_COM1 + 2, true);
    EXPECT_TRUE(item(IDM_COM1 + 2)->isChecked());
    uiCheckMenuItem(IDM_COM1 + 2, false);
    EXPECT_FALSE(item(IDM_COM1 + 2)->isCheckable());
}

TEST_F(QtMainWindowTest, ChoosingACheckedItemLeavesTheMarkToTheProgram) {
    // Save without data only shows message 45; Qt's own toggle of a checked
    // item must not take the mark away meanwhile.
    uiCheckMenuItem(IDM_SAVE, true);
    bool messageShown = false;
    QTimer::singleShot(0, [&messageShown] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            messageShown = true;
            box->close();
        }
    });
    item(IDM_SAVE)->trigger();
    EXPECT_TRUE(messageShown);
    EXPECT_TRUE(item(IDM_SAVE)->isChecked());
    uiCheckMenuItem(IDM_SAVE, false);
}

TEST_F(QtMainWindowTest, SpanSelectorKeepsNothingSelectedAfterRefilling) {
    const char* labels[] = {"a", "b", "c"};
    uiSpanSetItems(labels, 3);
    EXPECT_EQ(uiSpanGetSelection(), -1);
    uiSpanSetSelection(2);
    EXPECT_EQ(uiSpanGetSelection(), 2);
    EXPECT_EQ(window->spanSelector->currentText(), QStringLiteral("c"));
    uiSpanSetSelection(-1);
    EXPECT_EQ(uiSpanGetSelection(), -1);
}

TEST_F(QtMainWindowTest, ScrollInformationFollowsSetScrollInfo) {
    const ScrollInfo set = {0, 100, 10, 95, 0};
    uiScrollSetInfo(&set, SIF_RANGE | SIF_PAGE | SIF_POS);
    ScrollInfo got;
    uiScrollGetInfo(&got);
    EXPECT_EQ(got.nMax, 100);
    EXPECT_EQ(got.nPage, 10u);
    EXPECT_EQ(got.nPos, 91); // the highest position: nMax - nPage + 1
    EXPECT_EQ(window->scrollBar->maximum(), 91);
    EXPECT_EQ(window->scrollBar->pageStep(), 10);

    const ScrollInfo position = {0, 0, 0, 40, 0};
    uiScrollSetInfo(&position, SIF_POS);
    uiScrollGetInfo(&got);
    EXPECT_EQ(got.nPos, 40);
    EXPECT_EQ(got.nMax, 100); // untouched without SIF_RANGE
    EXPECT_EQ(got.nTrackPos, 40);

    const ScrollInfo bigPage = {0, 5, 50, 3, 0};
    uiScrollSetInfo(&bigPage, SIF_RANGE | SIF_PAGE | SIF_POS);
    uiScrollGetInfo(&got);
    EXPECT_EQ(got.nPage, 6u); // the page fits the range
    EXPECT_EQ(got.nPos, 0);

    uiScrollShow(true);
    EXPECT_FALSE(window->scrollBar->isHidden());
    uiScrollShow(false);
    EXPECT_TRUE(window->scrollBar->isHidden());
}

// The close box runs the program's close steps, which write the
// configuration and destroy the window.
TEST_F(QtMainWindowTest, CloseBoxClosesThroughTheProgram) {
    unlink("DAQSetup.cnf");
    window->show();
    EXPECT_FALSE(window->close()) << "only the program's own destruction closes the window";
    EXPECT_TRUE(window->destroyed);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(access("DAQSetup.cnf", F_OK), 0);
    EXPECT_FALSE(window->timers.empty());
    for (const auto& [id, timer] : window->timers)
        EXPECT_FALSE(timer->isActive()) << "timer " << id << " outlived the window";
}

// With unsaved samples the close box asks first, in the program's language
// and words, not Qt's: Escape (Cancel) keeps the window and writes nothing,
// Discard closes it.
TEST_F(QtMainWindowTest, CloseBoxAsksAboutUnsavedSamplesFirst) {
    mainWindowCommand(IDM_LANG_GERMAN, 0);
    unlink("DAQSetup.cnf");
    window->show();
    dataUnsaved = true;
    QString text;
    QStringList labels;
    auto answer = [&](const QString& label) {
        whenModal([&, label](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = box->text();
            labels.clear();
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            for (QAbstractButton* button : box->buttons()) {
                labels << button->text();
                if (button->text() == label)
                    button->click();
            }
            if (label.isEmpty())
                QApplication::sendEvent(box, &escape);
        });
    };
    answer("");
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->destroyed);
    EXPECT_NE(access("DAQSetup.cnf", F_OK), 0) << "a cancelled close writes nothing";
    EXPECT_EQ(text.toStdString(),
              "Die angezeigten Messwerte wurden nicht gespeichert.\nZuerst speichern?");
    labels.sort();
    EXPECT_EQ(labels, (QStringList{"&Speichern", "&Verwerfen", "Abbrechen"}));

    answer("&Verwerfen");
    window->close();
    EXPECT_TRUE(window->destroyed);
    dataUnsaved = false;
}

} // namespace
