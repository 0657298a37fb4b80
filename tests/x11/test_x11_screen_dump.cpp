// Screen dump on a real X server of the depth KORVEX_X11_DEPTH names (24 or
// 16), each run its own Xvfb: the BMP against the screen as another program
// reads it, and the two ways the command ends without a file.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPalette>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "tests/support/command_output.h"
#include "tests/support/xvfb_server.h"
#include "view/chart_view.h"

namespace {

// Closes every modal widget that comes up until *done, noting each one's
// class and text.
void closeEveryModal(QStringList* seen, const bool* done) {
    QTimer::singleShot(10, [seen, done] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            *seen << QString(modal->metaObject()->className()) + "|" + modal->windowTitle() + "|" +
                         (box ? box->text() : QString());
            modal->close();
        }
        if (!*done)
            closeEveryModal(seen, done);
    });
}

class X11ScreenDump : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* depthName = std::getenv("KORVEX_X11_DEPTH");
        depth = depthName ? std::atoi(depthName) : 24;
        const std::string screen = "1280x1024x" + std::to_string(depth);
        ASSERT_TRUE(startXvfb(&xvfb, screen.c_str())) << "Xvfb could not be started";
        setenv("DISPLAY", xvfb.display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        qtTestApplication();
        enterScratchPlace(&place, "korvex-x11-test");
        window = new QtMainWindow;
        window->centreOnScreen();
        window->show();
    }
    static void TearDownTestSuite() {
        if (window)
            destroyTestWindow(&window);
        leaveScratchPlace(&place);
        stopXvfb(&xvfb);
    }
    void SetUp() override {
        for (uint32_t i = 0; i < 6000; ++i)
            sampleStore[i].value = uint8_t(i / 60 % 100);
        dataHeader.count = 6000;
        dataHeader.interval = 100;
        resetChartView();
        settle();
    }

    // Until the window is on the screen and painted.
    static void settle() {
        for (int i = 0; i < 50; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
    }

    static std::string path(const char* name) { return std::string(place.workDir) + "/" + name; }

    static inline int depth = 24;
    static inline XvfbServer xvfb;
    static inline QtMainWindow* window = nullptr;
    static inline QtScratchPlace place;
};

TEST_F(X11ScreenDump, BmpIsTheWindowAsTheScreenShowsIt) {
    const QRect outer = window->frameGeometry();
    // Another program's window over part of ours belongs in the picture.
    QWidget cover;
    cover.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    cover.setAutoFillBackground(true);
    cover.setPalette(QPalette(QColor(255, 0, 0)));
    cover.setGeometry(outer.x() + 40, outer.y() + 60, 120, 80);
    cover.show();
    settle();
    const std::string crop = std::to_string(outer.width()) + "x" + std::to_string(outer.height()) +
                             "+" + std::to_string(outer.x()) + "+" + std::to_string(outer.y());
    const std::string shown =
        commandOutput("import -display " + xvfb.display + " -window root -crop " + crop +
                      " +repage -depth 8 rgb:-");
    ASSERT_EQ(shown.size(), size_t(outer.width() * outer.height() * 3));

    const std::string file = path("dump.bmp");
    chooseInFileDialog(file);
    mainWindowCommand(IDM_SCREEN_DUMP, 0);

    const std::string fields = commandOutput(
        "/usr/bin/python3 -c \"import struct,os,sys; b=open(sys.argv[1],'rb').read(); "
        "f=struct.unpack('<2sIHHIIiiHHIIiiII', b[:54]); "
        "print(f[1], f[4], f[6], f[7], f[9], f[11], f[14], os.path.getsize(sys.argv[1]))\" " +
        file);
    const uint32_t rowSize = (uint32_t(outer.width()) * depth + 31) / 32 * 4;
    const uint32_t offBits = depth == 16 ? 262198 : 54;
    const uint32_t size = offBits + rowSize * outer.height();
    EXPECT_EQ(fields,
              std::to_string(size) + " " + std::to_string(offBits) + " " +
                  std::to_string(outer.width()) + " " + std::to_string(outer.height()) + " " +
                  std::to_string(depth) + " " + std::to_string(rowSize * outer.height()) + " " +
                  std::to_string(depth == 16 ? 65536 : 0) + " " + std::to_string(size) + "\n");

    const std::string dumped = commandOutput(
        "/usr/bin/python3 -c \"import sys; from PIL import Image; "
        "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert('RGB').tobytes())\" " +
        file);
    ASSERT_EQ(dumped.size(), shown.size());
    // 16 bits keep five of each channel's eight: the two readers may expand
    // them differently.
    const int tolerance = depth == 16 ? 8 : 0;
    int differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        if (std::abs(int(uint8_t(dumped[i])) - int(uint8_t(shown[i]))) > tolerance)
            ++differing;
    EXPECT_EQ(differing, 0) << "of " << shown.size() << " channel values";
    const size_t underCover = (size_t(100) * outer.width() + 80) * 3;
    EXPECT_EQ(dumped.substr(underCover, 3), std::string("\xff\0\0", 3));
    unlink(file.c_str());
}

TEST_F(X11ScreenDump, NoDataIsMessage45AndCancelWritesNothing) {
    QStringList seen;
    bool done = false;
    closeEveryModal(&seen, &done);
    dataPresent = false;
    mainWindowCommand(IDM_SCREEN_DUMP, 0);
    dataPresent = true;
    mainWindowCommand(IDM_SCREEN_DUMP, 0);
    done = true;
    ASSERT_EQ(seen.size(), 2) << seen.join("\n").toStdString();
    EXPECT_EQ(seen[0], "QMessageBox|Screen Dump|No data present,\naborting operation");
    EXPECT_TRUE(seen[1].startsWith("QFileDialog|")) << seen[1].toStdString();
    EXPECT_EQ(commandOutput(std::string("ls -A ") + place.workDir), "DAQSetup.cnf\n");
}

} // namespace
