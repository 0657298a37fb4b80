// Chart drawing figures: one paintCharts on the recording canvas, one full Qt
// paint of both charts into a QImage with a full store, and the program's time
// from start to its first painted window under Xvfb, without data and with a
// full data file named on its command line; and the Analysis window's update
// after each step of a band drag.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/analysis_window.h"
#include "app/data_file_commands.h"
#include "data/sample_store.h"
#include "frontend/qt/qt_canvas.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/xvfb_server.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"
#include "view/drawing_objects.h"
#include "view/navigation.h"
#include "view/window_layout.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A day's load curve with noise, a marker now and then and a few gaps.
void fillStore() {
    for (uint32_t i = 0; i < SAMPLE_STORE_CAPACITY; ++i) {
        const double load = 50 + 35 * std::sin(i * 2 * M_PI / 86400.0) + (i * 7919 % 11);
        uint8_t value = uint8_t(load);
        if (i % 50000 == 0)
            value = SAMPLE_MARKER_MIN;
        if (i % 70000 < 3)
            value = SAMPLE_GAP;
        sampleStore[i] = {9,
                          6,
                          uint8_t(1 + i / 86400 % 28),
                          uint8_t(i / 3600 % 24),
                          uint8_t(i / 60 % 60),
                          uint8_t(i % 60),
                          0,
                          0,
                          value};
    }
    dataHeader.count = SAMPLE_STORE_CAPACITY;
    dataHeader.interval = 100;
    resetChartView();
    chartView.cursorX = 270;
    chartView.zoomOffset = 270u * uint32_t(chartView.samplesPerPixel);
    chartView.zoomStart = chartView.zoomOffset;
}

void benchRecordingCanvas() {
    Recording recording;
    recording.calls.reserve(4096);
    constexpr int rounds = 2000;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        recording.calls.clear();
        Canvas canvas;
        recordingCanvasInit(&canvas, &recording);
        paintCharts(&canvas);
    }
    std::printf("paintCharts on the recording canvas: %.4f ms per paint (%zu primitives; "
                "target < 0.1 ms)\n",
                msSince(start) / rounds, recording.calls.size());
}

void benchQtImage() {
    QImage image(CLIENT_WIDTH, CLIENT_HEIGHT, QImage::Format_RGB32);
    auto paintOnce = [&image] {
        image.fill(qtColour(WINDOW_COLOUR));
        QPainter painter(&image);
        Canvas canvas;
        qtCanvasInit(&canvas, &painter);
        paintCharts(&canvas);
    };
    for (int i = 0; i < 5; ++i) // fonts and glyph caches
        paintOnce();
    constexpr int rounds = 200;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        paintOnce();
    std::printf("Qt paint of both charts into a QImage, %u samples: %.3f ms per paint "
                "(target < 5 ms)\n",
                dataHeader.count, msSince(start) / rounds);
}

// One run of the program with the first-paint hook, given dataFile unless it
// is null: wall time from fork to the hook's line, and the program's own
// figure from the start of main.
bool timeStartup(const std::string& display, const char* port, const char* workDir,
                 const char* dataFile, double* wallMs, int* mainMs) {
    int output[2];
    if (pipe(output) != 0)
        return false;
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(output[0]);
        dup2(output[1], STDOUT_FILENO);
        if (chdir(workDir) != 0)
            _exit(127);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("KORVEX_COM1", port, 1);
        setenv("KORVEX_EXIT_AFTER_FIRST_PAINT", "1", 1);
        execl(KORVEX_EXE, KORVEX_EXE, dataFile, (char*)nullptr);
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char buffer[256];
    pollfd waiting = {output[0], POLLIN, 0};
    bool painted = false;
    while (!painted && poll(&waiting, 1, 10000) == 1) {
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, size_t(got));
        painted = text.find('\n') != std::string::npos;
    }
    *wallMs = msSince(start);
    close(output[0]);
    if (!painted)
        kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return painted && std::sscanf(text.c_str(), "first paint after %d ms", mainMs) == 1;
}

void benchStartup() {
    if (std::string(KORVEX_EXE).empty()) {
        std::printf("start-up: the korvex program is not built\n");
        return;
    }
    XvfbServer xvfb;
    if (!startXvfb(&xvfb, "1024x768x24")) {
        stopXvfb(&xvfb);
        std::printf("start-up: Xvfb could not be started\n");
        return;
    }
    const std::string& display = xvfb.display;
    // The program opens COM1 at start; a pseudo-terminal stands in for it.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    char workDir[] = "/tmp/korvex-bench-XXXXXX";
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0 && mkdtemp(workDir)) {
        const std::string port = ptsname(master);
        const std::string dataFile = std::string(workDir) + "/full.kvd";
        if (writeDataFile(dataFile.c_str()) != 0)
            std::printf("start-up: the data file could not be written\n");
        const char* runs[] = {nullptr, dataFile.c_str()};
        for (const char* file : runs) {
            std::vector<double> wall;
            int mainMs = 0;
            for (int run = 0; run < 6; ++run) {
                double ms = 0;
                if (!timeStartup(display, port.c_str(), workDir, file, &ms, &mainMs)) {
                    std::printf("start-up: the program did not report its first paint\n");
                    break;
                }
                if (run > 0) // the first run fills the disk caches
                    wall.push_back(ms);
            }
            if (wall.empty())
                continue;
            std::sort(wall.begin(), wall.end());
            std::printf("start to first painted window under Xvfb%s: %.1f ms median of %zu "
                        "(%.1f min; %d ms from main in the last run; target < 300 ms)\n",
                        file ? ", korvex FILE.kvd with 1,048,576 records" : "",
                        wall[wall.size() / 2], wall.size(), wall.front(), mainMs);
        }
        unlink(dataFile.c_str());
        const std::string config = std::string(workDir) + "/DAQSetup.cnf";
        unlink(config.c_str());
        rmdir(workDir);
    }
    if (master >= 0)
        close(master);
    stopXvfb(&xvfb);
}

// The Analysis window open on each scope while the band is dragged across
// the main chart one column at a time: every move brings the window's
// figures and list up to the zoom chart (the other scopes keep what they
// worked out).
void benchAnalysisFollow() {
    analysisSummaryCommand();
    const char* names[] = {"zoom window", "main window", "all"};
    for (int scope : {ANALYSIS_ZOOM, ANALYSIS_MAIN, ANALYSIS_ALL}) {
        const Clock::time_point chosen = Clock::now();
        analysisScopeChosen(scope);
        const double chooseMs = msSince(chosen);
        chartView.cursorX = 0;
        onCursorButtonDown(CHART_LEFT + 30, MAIN_BASELINE - 100);
        std::vector<double> moves;
        for (int x = 1; x <= 200; ++x) {
            const Clock::time_point start = Clock::now();
            onCursorMove(uint16_t(CHART_LEFT + 30 + x));
            moves.push_back(msSince(start));
        }
        onCursorButtonUp();
        std::sort(moves.begin(), moves.end());
        std::printf("Analysis window after a band drag, %s scope, 1,048,576 samples: %.2f ms "
                    "median, %.2f ms at most of %zu moves (target < 16 ms); choosing the "
                    "scope %.2f ms\n",
                    names[scope], moves[moves.size() / 2], moves.back(), moves.size(), chooseMs);
    }
    analysisWindowClosed();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    createDrawingObjects();
    fillStore();
    benchRecordingCanvas();
    benchQtImage();
    benchAnalysisFollow();
    benchStartup();
    return 0;
}
