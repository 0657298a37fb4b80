// Text export and navigation figures on a full store of 1,048,576 records:
// File > Export > All against one plain write of the same bytes, the CSV of
// the same data, a span change and a scroll step, each with the repaint of
// both charts on the recording canvas, the load summary of the tools with
// every part, the survey report, and the readout under the mouse.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/main_window.h"
#include "data/csv_export.h"
#include "data/load_duration.h"
#include "data/load_excursions.h"
#include "data/load_heatmap.h"
#include "data/load_profile.h"
#include "data/load_summary.h"
#include "data/sample_store.h"
#include "data/text_export.h"
#include "data/time_base.h"
#include "output/survey_report.h"
#include "platform/file.h"
#include "res/resource_ids.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_readout.h"
#include "view/chart_view.h"
#include "view/navigation.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int REPEATS = 7;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A day's load curve at 0.10 s with markers and gaps, every code in use.
void fillStore() {
    for (uint32_t i = 0; i < SAMPLE_STORE_CAPACITY; ++i)
        sampleStore[i].value = uint8_t(i % 7 == 0 ? 255 : i % 211);
    dataHeader = {10, 11, SAMPLE_STORE_CAPACITY, {}};
    stampFromEnd({2009, 12, 0, 25, 14, 30, 5, 0});
    scripted.spanItems.assign(14, "span");
    resetChartView();
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The reference: the same bytes in one write, with and without the flush to
// the disk that a replaced file gets.
double plainWriteMs(const std::string& bytes, const std::string& path, bool flush) {
    const Clock::time_point start = Clock::now();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const ssize_t put = write(fd, bytes.data(), bytes.size());
    if (flush)
        fsync(fd);
    close(fd);
    (void)put;
    return msSince(start);
}

void benchFiles(const std::string& dir) {
    const std::string daq = dir + "/all.daq";
    std::vector<double> exportMs, unflushedMs, csvMs, plainMs, plainFlushedMs;
    int failures = 0;
    for (int i = 0; i < REPEATS; ++i) {
        scripted.fileAnswers.push_back({true, daq, 0});
        Clock::time_point start = Clock::now();
        mainWindowCommand(IDM_EXPORT_ALL, 0);
        exportMs.push_back(msSince(start));
        // The same lines written to a plain file: the export less the file
        // replacement's flush and rename.
        start = Clock::now();
        FileHandle file = FILE_NONE;
        failures += fileOpen((dir + "/unflushed.daq").c_str(), FILE_WRITE, FILE_CREATE_ALWAYS,
                             &file, nullptr) != 0;
        failures += writeExport(file, 0, SAMPLE_STORE_CAPACITY - 1, 1) != 0;
        fileClose(file);
        unflushedMs.push_back(msSince(start));
        start = Clock::now();
        failures += writeCsvFile((dir + "/all.csv").c_str()) != 0;
        csvMs.push_back(msSince(start));
        const std::string bytes = fileBytes(daq);
        plainMs.push_back(plainWriteMs(bytes, dir + "/plain.daq", false));
        plainFlushedMs.push_back(plainWriteMs(bytes, dir + "/plain.daq", true));
    }
    failures += int(scripted.messageBoxes.size());
    const double plain = std::max(median(plainMs), 0.01);
    std::printf("Export > All of %u records (%zu bytes), median of %d%s\n", SAMPLE_STORE_CAPACITY,
                fileBytes(daq).size(), REPEATS, failures != 0 ? ", WITH FAILURES" : "");
    std::printf("  export %.1f ms, its lines alone without the file replacement %.1f ms;\n"
                "  one plain write %.1f ms, flushed to the disk as the export is %.1f ms\n"
                "  export %.2fx the flushed write, its lines %.2fx the plain write "
                "(target: within 3x, under 150 ms)\n",
                median(exportMs), median(unflushedMs), median(plainMs), median(plainFlushedMs),
                median(exportMs) / std::max(median(plainFlushedMs), 0.01),
                median(unflushedMs) / plain);
    std::printf("CSV of the same records (%zu bytes): %.1f ms (target: under 300 ms)\n",
                fileBytes(dir + "/all.csv").size(), median(csvMs));
}

// One navigation step and the paint it asks for.
double stepAndPaintMs(void (*step)(int), int argument, Recording* recording) {
    const Clock::time_point start = Clock::now();
    step(argument);
    recording->calls.clear();
    Canvas canvas;
    recordingCanvasInit(&canvas, recording);
    paintCharts(&canvas);
    return msSince(start);
}

void benchNavigation() {
    Recording recording;
    recording.calls.reserve(4096);
    constexpr int rounds = 500;
    const int spans[] = {4, 11}; // "50 minutes" and "1 day" at 0.10 s
    double spanMs = 0;
    for (int i = 0; i < rounds; ++i) {
        uiSpanSetSelection(spans[i % 2]);
        spanMs += stepAndPaintMs([](int code) { onSpanNotify(code); }, CBN_SELENDOK, &recording);
    }
    uiSpanSetSelection(4);
    onSpanNotify(CBN_SELENDOK);
    double scrollMs = 0;
    for (int i = 0; i < rounds; ++i) {
        scrollMs += stepAndPaintMs([](int code) { onChartScroll(code); },
                                   i < rounds / 2 ? SB_LINERIGHT : SB_PAGELEFT, &recording);
    }
    std::printf("on %u records, with the repaint of both charts on the recording canvas "
                "(target: under 1 ms each)\n",
                dataHeader.count);
    std::printf("  span change %.4f ms, scroll step %.4f ms\n", spanMs / rounds, scrollMs / rounds);
}

// The whole summary korvex-convert --summary prints, less its formatting:
// 29 hours at 0.10 s, a gap in every seventh sample, 15-minute blocks.
void benchSummary() {
    std::vector<double> ms;
    LoadSummary summary{};
    for (int i = 0; i < REPEATS; ++i) {
        const Clock::time_point start = Clock::now();
        summarizeLoad(defaultLoadSummaryRequest(), &summary);
        ms.push_back(msSince(start));
    }
    std::printf("Load summary of %u records (%u values, maximum demand %u.%02u %%): %.2f ms, "
                "median of %d (target: under 20 ms)\n",
                summary.count, summary.values, summary.maxDemandHundredths / 100,
                summary.maxDemandHundredths % 100, median(ms), REPEATS);
}

// The summary with every part the tools print: excursions above 80 and 100 %
// (a gap in every seventh sample makes them many), the daily profile, the
// heat map and the duration curves.
void benchSummaryParts() {
    std::vector<double> ms;
    LoadSummaryRequest request = defaultLoadSummaryRequest();
    request.ratedMilliKw = 630000;
    uint32_t excursions = 0;
    for (int i = 0; i < REPEATS; ++i) {
        const Clock::time_point start = Clock::now();
        LoadSummary summary;
        summarizeLoad(request, &summary);
        static ExcursionList list;
        startExcursions(&list, wholeStore(), request);
        excursions = 0;
        for (Excursion e; nextExcursion(&list, &e);)
            ++excursions;
        static LoadProfile profile;
        computeLoadProfile(&profile);
        static HeatmapDay day;
        HeatmapCursor cursor{0};
        while (nextHeatmapDay(&cursor, &day)) {
        }
        LoadDuration duration;
        computeLoadDuration(wholeStore(), &duration);
        ms.push_back(msSince(start));
    }
    std::printf("Load summary with every part (%u excursions, %u blocks): %.2f ms, median of %d "
                "(target: under 50 ms)\n",
                excursions, demandBlockCount, median(ms), REPEATS);
}

// The survey report of the whole store, to a closed file.
void benchReport(const std::string& dir) {
    const std::string path = dir + "/report.html";
    std::vector<double> ms;
    SurveyReportRequest request{
        wholeStore(),   defaultLoadSummaryRequest(),    "Bench", "bench.kvd", 0,
        "bench_export", {2009, 12, 0, 25, 14, 30, 5, 0}};
    request.summary.ratedMilliKw = 630000;
    int failures = 0;
    for (int i = 0; i < REPEATS; ++i) {
        const Clock::time_point start = Clock::now();
        failures += writeSurveyReport(path.c_str(), request) != 0;
        ms.push_back(msSince(start));
    }
    std::printf("Survey report of %u records: %.1f ms to a closed file, %zu bytes, median of %d%s "
                "(target: under 300 ms and 1.5 MB)\n",
                dataHeader.count, median(ms), fileBytes(path).size(), REPEATS,
                failures == 0 ? "" : ", WITH FAILURES");
}

// The readout of the zoom chart's last column, the longest walk over the
// columns, and of the main chart's, on the view the navigation left.
void benchReadout() {
    constexpr int rounds = 10000;
    ChartReadout readout;
    int found = 0;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        found += chartReadoutAt(CHART_LEFT + CHART_COLUMNS - 1, 100, &readout);
    const double zoomMs = msSince(start) / rounds;
    start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        found += chartReadoutAt(CHART_LEFT + CHART_COLUMNS - 1, 400, &readout);
    const double mainMs = msSince(start) / rounds;
    std::printf("Readout under the mouse, last column, %u samples: zoom chart %.5f ms, main chart "
                "%.5f ms%s (target: under 0.1 ms)\n",
                dataHeader.count, zoomMs, mainMs, found == 2 * rounds ? "" : ", WITH FAILURES");
}

} // namespace

int main() {
    char pattern[] = "/tmp/korvex_bench_export_XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    const std::string dir = pattern;
    scriptedReset();
    fillStore();
    dataPresent = true;
    benchFiles(dir);
    benchNavigation();
    benchSummary();
    benchSummaryParts();
    benchReport(dir);
    benchReadout();
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
