// Qt's own dialogs in the language chosen in the Language menu, on a real X
// server: File > Open's title, its "Look in" label and its buttons in German,
// then in English again.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <cstdlib>

#include "app/main_window.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "tests/support/xvfb_server.h"

namespace {

struct DialogTexts {
    QString title;
    QString lookIn;
    QStringList buttons;
};

// Opens File > Open, notes its texts and cancels it.
DialogTexts openDialogTexts() {
    DialogTexts seen;
    whenModal([&seen](QWidget* modal) {
        seen.title = modal->windowTitle();
        if (const auto* label = modal->findChild<QLabel*>("lookInLabel"))
            seen.lookIn = label->text();
        for (const QPushButton* button : modal->findChildren<QPushButton*>())
            if (button->isVisible())
                seen.buttons << button->text().remove('&');
        modal->close();
    });
    mainWindowCommand(IDM_OPEN, 0);
    return seen;
}

class X11DialogLanguage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // The suite needs the application on its own display, so it runs
        // only as the first of its process (as CTest runs every test).
        if (QCoreApplication::instance() != nullptr)
            return;
        ASSERT_TRUE(startXvfb(&xvfb, "1024x768x24")) << "Xvfb could not be started";
        setenv("DISPLAY", xvfb.display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        qtTestApplication();
        enterScratchPlace(&place, "korvex-x11-dialogs");
        window = new QtMainWindow;
        window->show();
    }
    static void TearDownTestSuite() {
        if (window == nullptr)
            return;
        destroyTestWindow(&window);
        leaveScratchPlace(&place);
        stopXvfb(&xvfb);
    }
    void SetUp() override {
        if (window == nullptr)
            GTEST_SKIP() << "another suite of this process owns the application";
    }

    static XvfbServer xvfb;
    static QtScratchPlace place;
    static QtMainWindow* window;
};
XvfbServer X11DialogLanguage::xvfb;
QtScratchPlace X11DialogLanguage::place;
QtMainWindow* X11DialogLanguage::window = nullptr;

TEST_F(X11DialogLanguage, TheOpenDialogSpeaksTheChosenLanguage) {
    mainWindowCommand(IDM_LANG_GERMAN, 0);
    DialogTexts german = openDialogTexts();
    EXPECT_EQ(german.title, QString::fromUtf8("Öffnen"));
    EXPECT_EQ(german.lookIn, "Suchen in:");
    EXPECT_TRUE(german.buttons.contains(QString::fromUtf8("Öffnen")))
        << german.buttons.join('|').toStdString();
    EXPECT_TRUE(german.buttons.contains("Abbrechen")) << german.buttons.join('|').toStdString();

    mainWindowCommand(IDM_LANG_ENGLISH, 0);
    DialogTexts english = openDialogTexts();
    EXPECT_EQ(english.title, "Open");
    EXPECT_EQ(english.lookIn, "Look in:");
    EXPECT_TRUE(english.buttons.contains("Open")) << english.buttons.join('|').toStdString();
    EXPECT_TRUE(english.buttons.contains("Cancel")) << english.buttons.join('|').toStdString();
}

} // namespace
