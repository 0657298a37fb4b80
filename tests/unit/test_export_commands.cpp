// File > Export through the scripted front end: what each command exports,
// the header in the three languages, the value lines, and what a cancelled
// or failing export leaves behind.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "app/main_window.h"
#include "base/config_file.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/scripted_frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"

namespace {

using Lines = std::vector<std::string>;

class TextExport : public ::testing::Test {
  protected:
    std::string dir;

    void SetUp() override {
        scriptedReset();
        scripted.spanItems.assign(14, "span");
        configBlock = ConfigBlock{};
        char pattern[] = "/tmp/korvex_export_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        dataPresent = false;
        configBlock = ConfigBlock{};
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    // count records of a known stamp, value i % 150, shown and painted.
    void showData(uint32_t count, uint16_t interval) {
        for (uint32_t i = 0; i < count; ++i)
            sampleStore[i] = {9, 12, 25, 14, 30, 5, 0, 0, uint8_t(i % 150)};
        dataHeader = {interval, 7, count, {}};
        resetChartView();
        repaint();
    }
    static void repaint() {
        Recording recording;
        Canvas canvas;
        recordingCanvasInit(&canvas, &recording);
        paintCharts(&canvas);
    }
    // Runs an export command into name; returns the file's text.
    std::string exportTo(int command, const std::string& name) {
        scripted.fileAnswers.push_back({true, dir + "/" + name, 0});
        mainWindowCommand(command, 0);
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static Lines linesOf(const std::string& text) {
        Lines lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

TEST_F(TextExport, EachCommandExportsWhatItsChartShows) {
    showData(6000, 2);
    const std::string all = exportTo(IDM_EXPORT_ALL, "all.daq");
    Lines lines = linesOf(all);
    ASSERT_EQ(lines.size(), 6004u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4),
              (Lines{"Vantorix Data Acquisition", lines[1], "Acquisition interval: 0.02 seconds",
                     "kW%"}));
    EXPECT_EQ(lines[1].rfind("Start time: ", 0), 0u);
    EXPECT_EQ(all.find('\r'), std::string::npos);

    lines = linesOf(exportTo(IDM_EXPORT_MAIN, "main.daq"));
    ASSERT_EQ(lines.size(), 604u);
    EXPECT_EQ(lines[2], "Acquisition interval: 0.20 seconds");
    EXPECT_EQ(lines[5], "10"); // samples 0, 10, 20, ...
    EXPECT_EQ(lines[603], std::to_string(5990 % 150));

    chartView.zoomStart = 302;
    repaint();
    lines = linesOf(exportTo(IDM_EXPORT_ZOOM, "zoom.daq"));
    EXPECT_EQ(lines.size(), 4u + 600u);
    EXPECT_EQ(lines[4], "2"); // 302 % 150

    // The header's texts follow the language, in the program's character set.
    configBlock.languageBase = LANG_GERMAN;
    EXPECT_EQ(linesOf(exportTo(IDM_EXPORT_MAIN, "de.daq"))[2], "Speicher Intervall: 0.20 Sekunden");
    configBlock.languageBase = LANG_DANISH;
    lines = linesOf(exportTo(IDM_EXPORT_MAIN, "da.daq"));
    EXPECT_EQ(lines[2], "Opsamlingsinterval: 0.20 sekunder");
    EXPECT_EQ(lines[1].rfind("Starttid: ", 0), 0u);

    showData(360000, 100);
    EXPECT_EQ(linesOf(exportTo(IDM_EXPORT_MAIN, "hour.daq"))[2],
              "Opsamlingsinterval: 600.00 sekunder");
    EXPECT_TRUE(scripted.messageBoxes.empty());
    EXPECT_EQ(scripted.fileDialogs[0].filterName + " " + scripted.fileDialogs[0].defaultExtension,
              "DAQ File (*.daq) daq");
    EXPECT_TRUE(scripted.fileDialogs[0].overwritePrompt);
}

TEST_F(TextExport, CodesFrom150UpAreEmptyLines) {
    showData(7, 1);
    const uint8_t codes[] = {0, 149, 150, 200, 201, 202, 255};
    for (int i = 0; i < 7; ++i)
        sampleStore[i].value = codes[i];
    // A stamp no calendar has is written as it stands.
    sampleStore[0].day = 30;
    sampleStore[0].month = 2;
    const Lines lines = linesOf(exportTo(IDM_EXPORT_ALL, "codes.daq"));
    EXPECT_EQ(lines,
              (Lines{"Vantorix Data Acquisition", "Start time: 2009-02-30, 14:30:05",
                     "Acquisition interval: 0.01 seconds", "kW%", "0", "149", "", "", "", "", ""}));
}

TEST_F(TextExport, FewerSamplesThanColumnsAreExportedOneByOne) {
    showData(500, 10);
    EXPECT_EQ(linesOf(exportTo(IDM_EXPORT_MAIN, "main.daq")).size(), 504u);
    EXPECT_EQ(linesOf(exportTo(IDM_EXPORT_ZOOM, "zoom.daq")).size(), 504u);
    dataHeader.count = 0; // an opened file with a header and no records
    EXPECT_EQ(exportTo(IDM_EXPORT_ALL, "none.daq"), "");
    EXPECT_EQ(scripted.messageBoxes.back().text, "No data present,\naborting operation");
    EXPECT_EQ(scripted.fileDialogs.size(), 2u);
}

// A file size limit stands in for a full disk. A short write is reported twice
// with its code and leaves the file that was there before, whole; a cancel
// writes nothing and shows nothing.
TEST_F(TextExport, AShortWriteIsReportedTwiceAndKeepsTheOldFile) {
    showData(6000, 2);
    const std::string old = exportTo(IDM_EXPORT_MAIN, "full.daq");
    EXPECT_TRUE(mainWindowCommand(IDM_EXPORT_ALL, 0)); // cancelled
    EXPECT_TRUE(scripted.messageBoxes.empty());
    // Every line is tried, so a header cut short is followed by sample lines
    // cut short too; only an export of no samples ends on the header's code.
    const struct {
        rlim_t limit;
        int command;
        int code;
    } cases[] = {{10, IDM_EXPORT_ALL, 30005}, {10, IDM_EXPORT_ZOOM, 30004}};
    for (const auto& c : cases) {
        chartView.zoomStart = 5999;
        chartView.zoomEnd = 5998;
        scripted.messageBoxes.clear();
        struct rlimit saved;
        getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit limit = saved;
        limit.rlim_cur = c.limit;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const std::string now = exportTo(c.command, "full.daq");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        const std::string number = ": " + std::to_string(c.code);
        ASSERT_EQ(scripted.messageBoxes.size(), 2u);
        EXPECT_EQ(scripted.messageBoxes[0].text + " / " + scripted.messageBoxes[0].caption,
                  "The received data could not be stored" + number +
                      " / Vantorix Data Acquisition");
        EXPECT_EQ(scripted.messageBoxes[1].text + " / " + scripted.messageBoxes[1].caption,
                  "Unable to save data on disc!" + number + " / Error:");
        EXPECT_EQ(now, old);
    }
    EXPECT_EQ(std::system(("test $(ls -A '" + dir + "' | wc -l) -eq 1").c_str()), 0);
}

} // namespace
