// korvex-fetch against the simulated T596: a download written to a data file
// that the program opens with the same records, and the ways it refuses or
// fails with the catalogue's message and a non-zero exit.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "tests/e2e/fetch_on_sims.h"

namespace {

class Fetch : public FetchOnSims {};

TEST_F(Fetch, ADownloadOpensInTheProgramWithTheSameRecords) {
    startSimOn(1, {"--interval", "20", "--pace", "none", "--pattern", "count"});
    // A German label, a name without its extension.
    FetchRun run = runFetch("--port '" + std::string(sims[0].linkPath) +
                            "' --span '20 Minuten' -o '" + workDir + "/day'");
    expectCountDownload(run, workDir + "/day.kvd");
}

TEST_F(Fetch, ASpanTheIntervalDoesNotOfferIsRefusedWithTheOnesItDoes) {
    startSimOn(1, {"--interval", "100", "--pace", "none"});
    FetchRun run = runFetch("--port '" + std::string(sims[0].linkPath) + "' --span 0 -o '" +
                            workDir + "/x.kvd'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("\"2 minutes\" is not offered at a sample time of 1.00 s"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"2 hours\" (6)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"12 days\" (13)"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("\"1 hour\""), std::string::npos) << run.output;
    EXPECT_NE(access((workDir + "/x.kvd").c_str(), F_OK), 0) << "no file for a refused span";
}

TEST_F(Fetch, FailuresEndWithTheCataloguesMessage) {
    startSimOn(1, {"--silent"});
    FetchRun silent = runFetch("--port '" + std::string(sims[0].linkPath) + "' --lang de");
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_NE(silent.output.find("Keine Verbindung zum T596."), std::string::npos) << silent.output;

    FetchRun missing = runFetch("--port '" + workDir + "/no-tty'");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Comm Port occupied or non-existing"), std::string::npos)
        << missing.output;

    // A file that cannot be written is found out before the transfer, not after it.
    FetchRun unwritable = runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + workDir +
                                   "/no-dir/x.kvd'");
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.output.find("Unable to save data on disc!: 2"), std::string::npos)
        << unwritable.output;
    EXPECT_EQ(unwritable.output.find("No communication"), std::string::npos) << unwritable.output;
    // Nothing is left behind where the file could have been written.
    FetchRun writable =
        runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + workDir + "/silent'");
    EXPECT_EQ(writable.exitCode, 1);
    EXPECT_NE(writable.output.find("No communication"), std::string::npos) << writable.output;
    EXPECT_NE(access((workDir + "/silent.kvd").c_str(), F_OK), 0);

    EXPECT_EQ(runFetch("--span 'three weeks'").exitCode, 2);
    EXPECT_EQ(runFetch("--port COM9").exitCode, 2);
    EXPECT_EQ(runFetch("--auto --port COM1").exitCode, 2);
}

// Such a device makes the Transfer command ping again and again.
TEST_F(Fetch, ADeviceThatNeverReportsItsIntervalEndsTheFetch) {
    startSimOn(1, {"--interval", "0", "--pace", "none"});
    std::string port = "--port '" + std::string(sims[0].linkPath) + "'";
    FetchRun unattended = runFetch(port);
    EXPECT_EQ(unattended.exitCode, 1);
    EXPECT_NE(unattended.output.find("korvex-fetch: the device reports no sample interval"),
              std::string::npos)
        << unattended.output;

    FetchRun interrupted = runFetch(port, "1");
    EXPECT_EQ(interrupted.exitCode, 1);
    EXPECT_NE(interrupted.output.find("korvex-fetch: interrupted"), std::string::npos)
        << interrupted.output;
}

TEST_F(Fetch, TheSearchFindsTheDevice) {
    startSimOn(2, {"--interval", "50", "--pace", "none"});
    FetchRun run = runFetch("--auto --span '50 minutes'");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("count:    6000\n"), std::string::npos) << run.output;
    // Fetching leaves the program's configuration alone.
    EXPECT_EQ(configuredPort(), -1);
}

} // namespace
