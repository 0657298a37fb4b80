// korvex-convert and korvex-fetch writing the text forms: a .daq equal byte
// for byte to the program's Export > All of the same data, a CSV that an
// independent reader (Python's csv module) takes in, the date line in two
// regions, and the refusals that keep what was there. (The load summary and
// the whole CSV of twelve days: tests/tools/test_load_summary.py.)
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>

#include "app/main_window.h"
#include "base/config_file.h"
#include "data/data_file_format.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "tests/e2e/program_on_sims.h"
#include "tests/support/scripted_frontend.h"
#include "tools/t596sim/sim_pattern.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string output; // standard output and error together
};

// Runs a shell command line (a tool with its arguments, perhaps with
// variables before it), killed if it hangs.
ToolRun runTool(const std::string& command) {
    FILE* pipe = popen(("timeout -s KILL 60 " + command + " 2>&1").c_str(), "r");
    ToolRun run{-1, ""};
    if (pipe == nullptr)
        return run;
    char buffer[512];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string withoutLine2(const std::string& text) {
    const size_t second = text.find('\n') + 1;
    return text.substr(0, second) + text.substr(text.find('\n', second));
}

class Convert : public ProgramOnSims {
  protected:
    // 6,000 samples of every code, stamped from 25/12/2009 14:30:05 in
    // 0.02 s steps, one of them with a day February does not have.
    std::string saveDay() {
        for (uint32_t i = 0; i < 6000; ++i)
            sampleStore[i].value = uint8_t(i % 256);
        dataHeader = {2, 3, 6000, {}};
        stampFromStart({2009, 12, 0, 25, 14, 30, 5, 0});
        sampleStore[7] = {9, 2, 30, 1, 2, 3, 0, 0, 42};
        dataPresent = true;
        const std::string path = workDir + "/day.kvd";
        EXPECT_EQ(writeDataFile(path.c_str()), 0);
        return path;
    }
    ToolRun convert(const std::string& arguments, const char* environment = "") {
        return runTool(std::string("env ") + environment + " " + KORVEX_CONVERT + " " + arguments);
    }
};

// The program here and the tool run in the same region; the tool's date line
// follows the region it is given.
TEST_F(Convert, TheDaqIsExportAllByteForByteAndItsDateFollowsTheRegion) {
    // Appended, not "'" + ...: GCC 12 at -O3 warns falsely of overlap
    // (-Wrestrict) inside that operator.
    const std::string day = std::string("'").append(saveDay()).append("'");
    const std::string out = " -o '" + workDir + "/tool.daq'";
    for (uint16_t base : {LANG_ENGLISH, LANG_GERMAN, LANG_DANISH}) {
        configBlock.languageBase = base;
        scripted.fileAnswers.push_back({true, workDir + "/program.daq", 0});
        mainWindowCommand(IDM_EXPORT_ALL, 0);
        const ToolRun run = convert(day + out + " --lang " +
                                    (base == 0     ? "en"
                                     : base == 100 ? "de"
                                                   : "da"));
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(run.output, "");
        const std::string program = fileText(workDir + "/program.daq");
        EXPECT_EQ(std::count(program.begin(), program.end(), '\n'), 6004);
        EXPECT_EQ(fileText(workDir + "/tool.daq"), program) << base;
    }
    const struct {
        const char* environment;
        const char* language;
        const char* line2;
    } regions[] = {
        {"LC_ALL=en_GB.UTF-8", "en", "Start time: 25/12/2009, 14:30:05\n"},
        {"LC_ALL=de_DE.UTF-8", "de", "Startzeit: 25.12.2009, 14:30:05\n"},
        {"LC_ALL=C", "da", "Starttid: 2009-12-25, 14:30:05\n"},
    };
    for (const auto& region : regions) {
        ASSERT_EQ(convert(day + out + " --lang " + region.language, region.environment).exitCode,
                  0);
        const std::string text = fileText(workDir + "/tool.daq");
        EXPECT_EQ(text.substr(text.find('\n') + 1, std::string(region.line2).size()), region.line2);
    }
}

TEST_F(Convert, TheCsvReadsBackWithItsStampsAndValues) {
    const std::string day = saveDay();
    ASSERT_EQ(convert("'" + day + "' -o '" + workDir + "/day.CSV'").exitCode, 0);
    const char* reader = "import csv, sys\n"
                         "rows = list(csv.reader(open(sys.argv[1], newline='')))\n"
                         "print(len(rows), rows[0])\n"
                         "for i in (1, 8, 150, 151, 203, 204, 256, 6000): print(rows[i])\n";
    std::ofstream(workDir + "/read.py") << reader;
    const ToolRun read = runTool("python3 '" + workDir + "/read.py' '" + workDir + "/day.CSV'");
    ASSERT_EQ(read.exitCode, 0) << read.output;
    // Every value, overloads included; a marker and a gap have no value and
    // are told apart by their code.
    EXPECT_EQ(read.output, "6001 ['time', 'value', 'code']\n"
                           "['2009-12-25T14:30:05.00', '0', '0']\n"
                           "['', '42', '42']\n" // 30 February has no time
                           "['2009-12-25T14:30:07.98', '149', '149']\n"
                           "['2009-12-25T14:30:08.00', '150', '150']\n"
                           "['2009-12-25T14:30:09.04', '', '202']\n"
                           "['2009-12-25T14:30:09.06', '203', '203']\n"
                           "['2009-12-25T14:30:10.10', '', '255']\n"
                           "['2009-12-25T14:32:04.98', '111', '111']\n");
}

// Print's page of the file just opened, all samples in the main chart, made
// with no display; a name that cannot be written fails as Print fails.
TEST_F(Convert, ThePdfIsThePrintedPageOfTheOpenedFile) {
    if (!KORVEX_CONVERT_PDF)
        GTEST_SKIP() << "built without the Qt printing layer";
    const std::string day = saveDay();
    const std::string pdf = workDir + "/day.pdf";
    const ToolRun run =
        convert("'" + day + "' -o '" + pdf + "' --lang de", "-u DISPLAY -u WAYLAND_DISPLAY");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string text = runTool("pdftotext -layout '" + pdf + "' -").output;
    for (const char* seen :
         {"Vantorix Data Acquisition", "Anfang:", "Ende:", "14:30:05", "14:30:16", "14:32:04"})
        EXPECT_NE(text.find(seen), std::string::npos) << seen << " in\n" << text;
    const ToolRun failed = convert("'" + day + "' -o '" + workDir + "/no-dir/x.pdf'");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.output.find("Error printing...: 2"), std::string::npos) << failed.output;
}

TEST_F(Convert, RefusalsAndFailuresKeepWhatWasThere) {
    const std::string day = saveDay();
    const std::string out = workDir + "/kept.csv";
    std::ofstream(out) << "old";
    std::ofstream(workDir + "/short.kvd") << fileText(day).substr(0, 100);
    ToolRun run = convert("'" + workDir + "/short.kvd' -o '" + out + "'");
    EXPECT_EQ(run.exitCode, 1);
    const std::string why = "/short.kvd: not a data file: its size does not match its record count";
    EXPECT_EQ(run.output, "korvex-convert: Vantorix Data Acquisition: Error loading data from "
                          "file!\nkorvex-convert: " +
                              workDir + why + "\n");
    run = convert("'" + workDir + "/none.kvd' -o '" + out + "' --lang de");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Daten können nicht von der Festplatte geladen werden: 2"),
              std::string::npos)
        << run.output;
    run = convert("'" + day + "' -o '" + workDir + "/no-dir/x.daq'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output,
              "korvex-convert: Error: Unable to save data on disc!: 2\nkorvex-convert: " + workDir +
                  "/no-dir/x.daq: No such file or directory\n");
    // Refused before the data file is read: the missing input goes unmentioned.
    run = convert("'" + workDir + "/none.kvd' -o '" + workDir + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "korvex-convert: " + workDir + ": Is a directory\n");
    EXPECT_EQ(fileText(out), "old");
    EXPECT_NE(access((workDir + "/none.kvd").c_str(), F_OK), 0) << "a missing input stays missing";

    EXPECT_EQ(convert("'" + day + "'").exitCode, 2);
    EXPECT_EQ(convert("'" + day + "' -o x.txt").exitCode, 2);
    EXPECT_EQ(convert("'" + day + "' -o x.csv --lang fr").exitCode, 2);
    EXPECT_EQ(convert("'" + day + "' '" + day + "' -o x.csv").exitCode, 2);
    EXPECT_EQ(convert("'" + day + "' --json").exitCode, 2); // --json needs --summary
}

// The three tools answer alike: --help and --version on standard output, a
// usage error as what is wrong and a pointer to --help, not the whole usage.
TEST_F(Convert, EveryToolAnswersHelpAndVersionAndPointsToHelpOnAUsageError) {
    const std::string out = workDir + "/stdout", err = workDir + "/stderr";
    const auto run = [&](const std::string& tool, const char* argument) {
        const int status =
            std::system((tool + " " + argument + " >'" + out + "' 2>'" + err + "'").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    for (const std::string tool : {KORVEX_FETCH, KORVEX_CONVERT, KORVEX_T596SIM}) {
        const std::string name = tool.substr(tool.rfind('/') + 1);
        EXPECT_EQ(run(tool, "--help"), 0) << name;
        EXPECT_EQ(fileText(out).rfind("Usage: " + name + " ", 0), 0u) << fileText(out);
        EXPECT_EQ(fileText(err), "");
        EXPECT_EQ(run(tool, "--version"), 0) << name;
        EXPECT_EQ(fileText(out), name + " " KORVEX_VERSION "\n");
        EXPECT_EQ(run(tool, "--frobnicate"), 2) << name;
        EXPECT_EQ(fileText(out), "");
        EXPECT_EQ(fileText(err), name + ": unknown option: --frobnicate\nTry '" + name +
                                     " --help' for more information.\n");
    }
}

// The same transfer twice: once as a data file, once as the export.
TEST_F(Convert, KorvexFetchWritesTheSameForms) {
    startSimOn(1, {"--interval", "20", "--pace", "none", "--pattern", "count"});
    const std::string fetch =
        std::string(KORVEX_FETCH) + " --port '" + sims[0].linkPath + "' --span '20 minutes' -o ";
    ASSERT_EQ(runTool(fetch + "'" + workDir + "/a.kvd'").exitCode, 0);
    const ToolRun daq = runTool(fetch + "'" + workDir + "/b.daq'");
    ASSERT_EQ(daq.exitCode, 0) << daq.output;
    EXPECT_NE(daq.output.find("file:     " + workDir + "/b.daq"), std::string::npos);
    ASSERT_EQ(runTool(fetch + "'" + workDir + "/c.csv'").exitCode, 0);
    ASSERT_EQ(convert("'" + workDir + "/a.kvd' -o '" + workDir + "/a.daq'").exitCode, 0);
    EXPECT_EQ(withoutLine2(fileText(workDir + "/b.daq")),
              withoutLine2(fileText(workDir + "/a.daq")));
    const std::string csv = fileText(workDir + "/c.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6001);
    const uint8_t last = countPatternValue(5999);
    const std::string row = ".00," + (isValueCode(last) ? std::to_string(last) : "") + "," +
                            std::to_string(last) + "\n";
    EXPECT_EQ(csv.substr(csv.size() - row.size()), row);
}

} // namespace
