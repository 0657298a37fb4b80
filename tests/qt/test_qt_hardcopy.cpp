// Print and the BMP writer end to end on the offscreen platform: the print
// dialog driven through its widgets, the PDF read back as a reader of the
// page would (rasterised by pdftoppm, its text by pdftotext), and a BMP of
// every depth read back by Pillow.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/main_window.h"
#include "app/screen_dump_command.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "frontend/qt/qt_main_window.h"
#include "frontend/qt/qt_screen_capture.h"
#include "output/bmp_file.h"
#include "output/screen_dump.h"
#include "platform/clock.h"
#include "platform/locale_time.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "tests/support/command_output.h"
#include "view/chart_view.h"
#include "view/window_layout.h"

namespace {

// Types path into the print dialog's file field. With press the Print button
// takes it, as the user does; otherwise the dialog is accepted directly, past
// its own check of the file, as if the file went bad only afterwards. With
// portrait the user turns the page first.
void printToFileInDialog(const std::string& path, bool press = true, bool portrait = false) {
    whenModal([path, press, portrait](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "no print dialog";
        if (portrait) {
            // As the dialog's Properties page would turn it.
            dialog->printer()->setPageOrientation(QPageLayout::Portrait);
        }
        auto* field = dialog->findChild<QLineEdit*>("filename");
        ASSERT_NE(field, nullptr);
        field->setText(QString::fromStdString(path));
        if (!press) {
            dialog->accept();
            return;
        }
        for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    return button->click();
        ADD_FAILURE() << "no Print button";
    });
}

// Closes the message box that comes up next and keeps its text.
void readMessageBox(QString* text) {
    whenModal([text](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            *text = box->text();
        modal->close();
    });
}

class QtHardcopy : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        qtTestApplication();
        QCoreApplication::sendPostedEvents();
        enterScratchPlace(&place, "korvex-qt-hardcopy");
        window = new QtMainWindow;
        window->show();
        loadSamples();
    }
    static void TearDownTestSuite() {
        destroyTestWindow(&window);
        leaveScratchPlace(&place);
    }

    // 6600 samples one second apart from 25/12/2009 10:00:00: 25 % for the
    // first half, 75 % after. 11 samples a column, the band 100 columns in:
    // the zoom chart starts at sample 1100 and, with a step of 1.1 in single
    // precision, ends at 1758.
    static void loadSamples() {
        for (uint32_t i = 0; i < 6600; ++i)
            sampleStore[i].value = i < 3300 ? 25 : 75;
        dataHeader.count = 6600;
        dataHeader.interval = 100;
        stampFromStart({2009, 12, 0, 25, 10, 0, 0, 0});
        resetChartView();
        chartView.cursorX = 100;
        chartView.zoomOffset = 1100;
        chartView.zoomStart = 1100;
    }

    // Print > Printer to name in the working directory, rasterised at 144 dpi.
    static QImage printPage(const std::string& name) {
        // The dialog takes a bare name to be in the home folder.
        printToFileInDialog(std::string(place.workDir) + "/" + name);
        EXPECT_TRUE(mainWindowCommand(IDM_PRINT, 0));
        commandOutput("pdftoppm -r 144 " + name + " page");
        return QImage(QStringLiteral("page-1.ppm"));
    }

    // Where a point of the client area lands on the raster: A4 landscape,
    // its printable area inset by Qt's default 10 pt margins.
    static QPoint onPage(double x, double y) {
        const double pointsPerPixel = 144.0 / 72.0;
        return QPoint(int((10 + x * 821.94 / CLIENT_WIDTH) * pointsPerPixel),
                      int((10 + y * 574.98 / CLIENT_HEIGHT) * pointsPerPixel));
    }

    // Whether a pixel within 2 of the point has the colour, each channel
    // within tolerance.
    static bool colourNear(const QImage& page, double x, double y, QColor colour,
                           int tolerance = 40) {
        const QPoint at = onPage(x, y);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor seen = page.pixelColor(at.x() + dx, at.y() + dy);
                if (std::abs(seen.red() - colour.red()) <= tolerance &&
                    std::abs(seen.green() - colour.green()) <= tolerance &&
                    std::abs(seen.blue() - colour.blue()) <= tolerance)
                    return true;
            }
        return false;
    }

    static inline QtMainWindow* window = nullptr;
    static inline QtScratchPlace place;
};

TEST_F(QtHardcopy, PrintedPageShowsTheViewScaledOntoThePaper) {
    const QImage page = printPage("page.pdf");
    ASSERT_FALSE(page.isNull()) << "no page was printed";
    EXPECT_EQ(page.size(), QSize(1684, 1190)) << "A4 landscape at 144 dpi";
    const QColor ink(0, 0, 0), paper(255, 255, 255), band(220, 210, 195), curve(0, 0, 255);

    // The axes where the mapping puts them, and no fill between them.
    EXPECT_TRUE(colourNear(page, 450, 530, ink));
    EXPECT_TRUE(colourNear(page, 450, 250, ink));
    EXPECT_TRUE(colourNear(page, 150, 400, ink));
    EXPECT_TRUE(colourNear(page, 750, 120, ink));
    EXPECT_EQ(page.pixelColor(onPage(700, 340)), paper);
    EXPECT_EQ(page.pixelColor(onPage(700, 100)), paper);
    // The band over the 60 columns from the cursor, down to its paper edge.
    EXPECT_EQ(page.pixelColor(onPage(280, 340)), band);
    EXPECT_EQ(page.pixelColor(onPage(280, 527)), band);
    EXPECT_EQ(page.pixelColor(onPage(320, 340)), paper);
    // The curves where the samples put them: 25 % then 75 % below, 25 % in the zoom.
    EXPECT_TRUE(colourNear(page, 300, 480, curve));
    EXPECT_FALSE(colourNear(page, 300, 380, curve));
    EXPECT_TRUE(colourNear(page, 600, 380, curve));
    EXPECT_TRUE(colourNear(page, 400, 200, curve));
    EXPECT_FALSE(colourNear(page, 400, 100, curve));

    EXPECT_NE(commandOutput("pdfinfo page.pdf").find("Vantorix Data Acquisition Software"),
              std::string::npos)
        << "the document is named after the window";
    const std::string text = commandOutput("pdftotext -layout page.pdf -");
    EXPECT_NE(text.find("Vantorix Data Acquisition"), std::string::npos) << text;
    SystemTime now;
    getLocalTime(&now);
    char today[192];
    formatLongDate(now, today, sizeof today);
    EXPECT_NE(text.find(today), std::string::npos) << text;
    EXPECT_NE(text.find("Start:"), std::string::npos);
    EXPECT_NE(text.find("End:"), std::string::npos);
    EXPECT_NE(text.find("25/12-09,"), std::string::npos);
    // Both charts' ends as the screen has them.
    EXPECT_NE(text.find("10:18:20"), std::string::npos) << "zoom start, sample 1100";
    EXPECT_NE(text.find("10:29:18"), std::string::npos) << "zoom end, sample 1758";
    EXPECT_EQ(text.find("10:29:19"), std::string::npos);
    EXPECT_NE(text.find("11:49:59"), std::string::npos) << "main end, sample 6599";

    mainWindowCommand(IDM_LANG_GERMAN, 0);
    printPage("seite.pdf");
    const std::string german = commandOutput("pdftotext -layout seite.pdf -");
    mainWindowCommand(IDM_LANG_ENGLISH, 0);
    EXPECT_NE(german.find("Anfang:"), std::string::npos) << german;
    EXPECT_NE(german.find("Ende:"), std::string::npos);
    EXPECT_EQ(german.find("Start:"), std::string::npos);
    unlink("page.pdf");
    unlink("seite.pdf");
    unlink("page-1.ppm");
}

// The page laid out for landscape, printed on a portrait one: the glyphs
// narrow with the page, so that no word runs off the paper.
TEST_F(QtHardcopy, APortraitPageKeepsEveryWordInsideThePrintableArea) {
    printToFileInDialog(std::string(place.workDir) + "/portrait.pdf", true, true);
    ASSERT_TRUE(mainWindowCommand(IDM_PRINT, 0));
    EXPECT_EQ(commandOutput("/usr/bin/python3 " KORVEX_PAGE_CHECK
                            " check portrait.pdf portrait 25/12-09, 10:29:18 11:49:59"),
              "");
    unlink("portrait.pdf");
}

TEST_F(QtHardcopy, CancelPrintsNothingAndAnUnwritableFileIsMessage83) {
    whenModal([](QWidget* dialog) { dialog->close(); });
    mainWindowCommand(IDM_PRINT, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no message after a cancel";

    QString shown;
    printToFileInDialog(std::string(place.workDir) + "/no-such-folder/page.pdf", false);
    readMessageBox(&shown);
    mainWindowCommand(IDM_PRINT, 0);
    EXPECT_EQ(shown, QStringLiteral("Error printing...: 2"));
    EXPECT_NE(access("no-such-folder", F_OK), 0);
}

// Each depth of a display, through the screen layer's conversion, the
// description block, the save dialog and the writer. The width of 13 pads
// every depth's rows; the picture uses the 4-bit colours, or black and white
// for 1 bit, so each depth can hold it exactly.
TEST_F(QtHardcopy, BmpOfEveryDepthReadsBackAsThePicture) {
    const QRgb colours[] = {qRgb(0, 0, 0),     qRgb(255, 255, 255), qRgb(128, 0, 0),
                            qRgb(0, 128, 128), qRgb(255, 255, 0),   qRgb(192, 192, 192),
                            qRgb(0, 0, 255)};
    const struct {
        int depth;
        uint32_t offBits;
    } depths[] = {{1, 62}, {4, 118}, {8, 1078}, {16, 262198}, {24, 54}, {32, 54}};
    for (const auto& [depth, offBits] : depths) {
        QImage picture(13, 5, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y,
                                 depth == 1 ? colours[(x + y) % 2 == 0 ? 1 : 0]
                                            : colours[(x * 3 + y) % 7]);
        ScreenCapture* capture = qtScreenCaptureOf(picture, depth);
        uint8_t* block = buildBitmapInfo(capture);
        ASSERT_NE(block, nullptr);
        const std::string name = "depth" + std::to_string(depth) + ".bmp";
        chooseInFileDialog(name);
        writeBmpFile(block, capture);
        std::free(block);
        screenCaptureRelease(capture);

        const std::string fields = commandOutput(
            "/usr/bin/python3 -c \"import struct,os,sys; b=open(sys.argv[1],'rb').read(); "
            "print(*struct.unpack('<2sIHHIIiiHHIIiiII', b[:54])[1:], "
            "os.path.getsize(sys.argv[1]))\" " +
            name);
        const uint32_t rowSize = uint32_t(bmpRowSize(13, depth));
        const std::string expected = std::to_string(offBits + rowSize * 5) + " 0 0 " +
                                     std::to_string(offBits) + " 40 13 5 1 " +
                                     std::to_string(depth) + " 0 " + std::to_string(rowSize * 5) +
                                     " 0 0 " + std::to_string(depth < 24 ? 1 << depth : 0) + " 0 " +
                                     std::to_string(offBits + rowSize * 5) + "\n";
        EXPECT_EQ(fields, expected) << "depth " << depth;

        const std::string pixels = commandOutput(
            "/usr/bin/python3 -c \"import sys; from PIL import Image; "
            "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert('RGB').tobytes())\" " +
            name);
        ASSERT_EQ(pixels.size(), 13u * 5 * 3) << "depth " << depth;
        for (int i = 0; i < 13 * 5; ++i) {
            const QRgb want = picture.pixel(i % 13, i / 13);
            // 16 bits keep five of each colour's eight.
            const int shift = depth == 16 ? 3 : 0;
            const QRgb got = qRgb(uint8_t(pixels[3 * i]), uint8_t(pixels[3 * i + 1]),
                                  uint8_t(pixels[3 * i + 2]));
            ASSERT_EQ(qRed(got) >> shift, qRed(want) >> shift)
                << "depth " << depth << " pixel " << i;
            ASSERT_EQ(qGreen(got) >> shift, qGreen(want) >> shift) << "depth " << depth;
            ASSERT_EQ(qBlue(got) >> shift, qBlue(want) >> shift) << "depth " << depth;
        }
        unlink(name.c_str());
    }
}

} // namespace
