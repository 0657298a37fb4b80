// Hard copy figures: the printed page of a full store rendered to a PDF (time
// and size), and a screen dump of the main window on an X server from the
// capture to the closed BMP file.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "data/sample_store.h"
#include "data/time_base.h"
#include "frontend/qt/qt_main_window.h"
#include "output/bmp_file.h"
#include "output/printing.h"
#include "output/screen_dump.h"
#include "tests/support/xvfb_server.h"
#include "tools/t596sim/sim_pattern.h"
#include "ui/screen_capture.h"
#include "view/chart_view.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int RUNS = 7;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Twelve days of the simulated logger's load at 1 s.
void fillStore() {
    for (uint32_t i = 0; i < SAMPLE_STORE_CAPACITY; ++i)
        sampleStore[i].value = loadPatternValue(i, i % 86400 * 100);
    dataHeader.count = SAMPLE_STORE_CAPACITY;
    dataHeader.interval = 100;
    stampFromStart({2009, 6, 0, 1, 0, 0, 0, 0});
    resetChartView();
}

// The median and the first (cold) of the times.
void report(const char* what, std::vector<double> ms, const char* target) {
    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    std::printf("%s: %.1f ms median of %zu (first %.1f ms; target %s)\n", what, ms[ms.size() / 2],
                ms.size(), first, target);
}

void benchPdf(const std::string& directory) {
    const std::string path = directory + "/page.pdf";
    std::vector<double> times;
    for (int run = 0; run < RUNS; ++run) {
        const Clock::time_point start = Clock::now();
        if (printNewDataToPdf(path.c_str()) != 0) {
            std::printf("printed page: the PDF could not be written\n");
            return;
        }
        times.push_back(msSince(start));
    }
    report("printed page of 1,048,576 samples to a PDF", times, "< 300 ms");
    struct stat written;
    stat(path.c_str(), &written);
    std::printf("size of that PDF: %lld bytes (target < 1 MB)\n", (long long)written.st_size);
    unlink(path.c_str());
}

void benchScreenDump(const std::string& directory, const char* platform) {
    const std::string path = directory + "/dump.bmp";
    std::vector<double> times;
    long long size = 0;
    for (int run = 0; run < RUNS; ++run) {
        const Clock::time_point start = Clock::now();
        ScreenCapture* capture = screenCaptureMainWindow();
        uint8_t* block = buildBitmapInfo(capture);
        FileReplacement file;
        if (block == nullptr || fileReplaceBegin(path.c_str(), &file) != 0) {
            std::printf("screen dump: nothing could be captured or written\n");
            screenCaptureRelease(capture);
            std::free(block);
            return;
        }
        writeBmpImage(&file, block, capture);
        times.push_back(msSince(start));
        BitmapInfoHeader header;
        decodeBitmapInfoHeader(block, &header);
        size = BMP_FILE_HEADER_SIZE + bitmapInfoSize(block) + header.sizeImage;
        std::free(block);
        screenCaptureRelease(capture);
    }
    const std::string what =
        std::string("screen dump of the main window, capture to closed file (") + platform + ", " +
        std::to_string(size) + " bytes)";
    report(what.c_str(), times, "< 50 ms");
    unlink(path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    // The dump reads a real screen; the page needs none.
    XvfbServer xvfb;
    const bool x11 = startXvfb(&xvfb, "1280x1024x24");
    if (x11) {
        setenv("DISPLAY", xvfb.display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    char directory[] = "/tmp/korvex-bench-XXXXXX";
    const int port = posix_openpt(O_RDWR | O_NOCTTY);
    if (mkdtemp(directory) == nullptr || chdir(directory) != 0 || port < 0 || grantpt(port) != 0 ||
        unlockpt(port) != 0) {
        std::printf("no scratch directory or pseudo-terminal\n");
        return 1;
    }
    // The window opens COM1 at creation; a pseudo-terminal stands in for it.
    setenv("KORVEX_COM1", ptsname(port), 1);
    {
        QApplication application(argc, argv);
        QtMainWindow window;
        window.centreOnScreen();
        window.show();
        fillStore();
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            usleep(20000);
        }
        benchPdf(directory);
        benchScreenDump(directory, x11 ? "Xvfb, 24 bits" : "offscreen platform");
        uiDestroyMainWindow();
        QCoreApplication::sendPostedEvents();
    }
    unlink("DAQSetup.cnf");
    rmdir(directory);
    close(port);
    stopXvfb(&xvfb);
    return 0;
}
