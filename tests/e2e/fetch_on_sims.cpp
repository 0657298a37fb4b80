#include "tests/e2e/fetch_on_sims.h"

#include <cstdio>
#include <sys/wait.h>

#include "app/main_window.h"
#include "data/sample_store.h"
#include "res/resource_ids.h"
#include "tests/support/scripted_frontend.h"
#include "tools/t596sim/sim_pattern.h"

namespace {
// A fetch that hangs is killed after this long, so that it fails its test
// instead of hanging the suite.
constexpr int FETCH_KILL_SECONDS = 60;
} // namespace

FetchOnSims::FetchRun FetchOnSims::runFetch(const std::string& arguments, const char* afterSeconds,
                                            const std::string& action) {
    std::string fetch =
        "timeout -s KILL " + std::to_string(FETCH_KILL_SECONDS) + " " + program + " " + arguments;
    std::string command = afterSeconds == nullptr
                              ? fetch + " 2>&1"
                              : "{ " + fetch + " & pid=$!; sleep " + afterSeconds + "; " + action +
                                    "; wait $pid; } 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    FetchRun run{-1, ""};
    if (pipe == nullptr)
        return run;
    char buffer[512];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    // A Windows program ends its lines with CR LF.
    std::erase(run.output, '\r');
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void FetchOnSims::expectCountDownload(const FetchRun& run, const std::string& file) {
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("count:    6000\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("interval: 0.20 s\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(file.substr(file.find_last_of('/') + 1)), std::string::npos)
        << run.output;

    createWindow();
    scripted.fileAnswers.push_back({true, file, 0});
    mainWindowCommand(IDM_OPEN, 0);
    EXPECT_TRUE(messageTexts().empty());
    ASSERT_EQ(dataHeader.count, 6000u);
    EXPECT_EQ(dataHeader.interval, 20);
    EXPECT_EQ(dataHeader.amountIndex, 3);
    uint32_t wrong = 0;
    for (uint32_t i = 0; i < 6000; ++i)
        wrong += sampleStore[i].value != countPatternValue(i);
    EXPECT_EQ(wrong, 0u);
    // The summary's stamps are the file's.
    char last[64];
    const SampleRecord& r = sampleStore[5999];
    std::snprintf(last, sizeof last, "last:     %02d/%02d-%02d, %02d:%02d:%02d.00", r.day, r.month,
                  r.year, r.hour, r.minute, r.second);
    EXPECT_NE(run.output.find(last), std::string::npos) << run.output;
}
