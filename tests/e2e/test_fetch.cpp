// korvex-fetch against the simulated T596: a download written to a data file
// that the program opens with the same records, and the ways it refuses or
// fails with the catalogue's message and a non-zero exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main_window.h"
#include "res/resource_ids.h"
#include "tests/e2e/fetch_on_sims.h"
#include "tests/support/scripted_frontend.h"

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
    // Which device the port stood for, when the port was given as COMn.
    FetchRun silentCom = runFetch("--port COM1");
    EXPECT_NE(silentCom.output.find("korvex-fetch: COM1 (" + std::string(sims[0].linkPath) +
                                    "): the transfer failed\n"),
              std::string::npos)
        << silentCom.output;

    // The catalogue's message, then the path and what is wrong with it.
    FetchRun missing = runFetch("--port '" + workDir + "/no-tty'");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Comm Port occupied or non-existing\nkorvex-fetch: " + workDir +
                                  "/no-tty: No such file or directory\n"),
              std::string::npos)
        << missing.output;

    // A file that cannot be written is found out before the transfer, not after it.
    FetchRun unwritable = runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + workDir +
                                   "/no-dir/x.kvd'");
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.output.find("Unable to save data on disc!: 2\nkorvex-fetch: " + workDir +
                                     "/no-dir/x.kvd: No such file or directory\n"),
              std::string::npos)
        << unwritable.output;
    EXPECT_EQ(unwritable.output.find("No communication"), std::string::npos) << unwritable.output;
    // A name that fits, but not once ".kvd" is added.
    std::string longName = workDir + "/" + std::string(252 - workDir.size(), 'a');
    FetchRun tooLong =
        runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + longName + "'");
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_NE(tooLong.output.find(longName + ".kvd: file name too long"), std::string::npos)
        << tooLong.output;
    EXPECT_EQ(tooLong.output.find("No communication"), std::string::npos) << tooLong.output;
    // Nothing is left behind where the file could have been written.
    FetchRun writable =
        runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + workDir + "/silent'");
    EXPECT_EQ(writable.exitCode, 1);
    EXPECT_NE(writable.output.find("No communication"), std::string::npos) << writable.output;
    EXPECT_NE(access((workDir + "/silent.kvd").c_str(), F_OK), 0);
    // A directory is refused as named, not made a file beside it by ".kvd";
    // so is a device, before the logger is asked for anything.
    ASSERT_EQ(mkdir((workDir + "/out").c_str(), 0755), 0);
    for (const auto& [output, reason] :
         {std::pair<std::string, std::string>{workDir + "/out", "Is a directory"},
          {"/dev/null", "Not a regular file"}}) {
        FetchRun refused =
            runFetch("--port '" + std::string(sims[0].linkPath) + "' -o '" + output + "'");
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.output, "korvex-fetch: " + output + ": " + reason + "\n");
        EXPECT_NE(access((output + ".kvd").c_str(), F_OK), 0) << output;
    }

    EXPECT_EQ(runFetch("--span 'three weeks'").exitCode, 2);
    EXPECT_EQ(runFetch("--port COM9").exitCode, 2);
    EXPECT_EQ(runFetch("--auto --port COM1").exitCode, 2);
}

// Such a device answers every ping; it is given as long as a silent one.
TEST_F(Fetch, ADeviceThatNeverReportsItsIntervalEndsTheFetch) {
    startSimOn(1, {"--interval", "0", "--pace", "none"});
    std::string port = "--port '" + std::string(sims[0].linkPath) + "'";
    FetchRun unattended = runFetch(port);
    EXPECT_EQ(unattended.exitCode, 1);
    EXPECT_NE(unattended.output.find("No communication to T596."), std::string::npos)
        << unattended.output;

    FetchRun interrupted = runFetch(port, "1");
    EXPECT_EQ(interrupted.exitCode, 1);
    EXPECT_NE(interrupted.output.find("korvex-fetch: interrupted"), std::string::npos)
        << interrupted.output;
}

// An echoed count of 0, or a device that stops at once: the window shows an
// empty result, but a script must not take it for a download.
TEST_F(Fetch, ATransferWithoutSamplesFailsWithItsOwnCodeAndWritesNothing) {
    startSimOn(1, {"--interval", "50", "--pace", "none", "--echo-count", "0"});
    startSimOn(2, {"--interval", "50", "--pace", "none", "--stop-after", "0"});
    ASSERT_EQ(std::system(("echo earlier >'" + workDir + "/kept.kvd'").c_str()), 0);
    for (const SimProcess& sim : {sims[0], sims[1]}) {
        FetchRun run = runFetch("--port '" + std::string(sim.linkPath) +
                                "' --span '50 minutes' -o '" + workDir + "/kept.kvd'");
        EXPECT_EQ(run.exitCode, 3) << run.output;
        EXPECT_NE(run.output.find("korvex-fetch: the device sent no samples"), std::string::npos)
            << run.output;
    }
    EXPECT_EQ(std::system(("test \"$(cat '" + workDir + "/kept.kvd')\" = earlier").c_str()), 0);
}

// korvex-fetch -o and the program's Save over a data file on a file system
// too small for the new one beside it: the old file stays whole, and nothing
// else is left there.
TEST_F(Fetch, ASaveThatDoesNotFitLeavesTheOldFileWhole) {
    std::string tiny = workDir + "/tiny", old = tiny + "/old.kvd", copy = workDir + "/old.copy";
    ASSERT_EQ(mkdir(tiny.c_str(), 0755), 0);
    if (mount("tmpfs", tiny.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting a file system is not allowed here";
    // Every check from here on lets the test reach the unmount.
    EXPECT_EQ(std::system(("head -c 920 /dev/zero | tr '\\0' '\\144' >'" + old + "' && cp '" + old +
                           "' '" + copy + "'")
                              .c_str()),
              0);
    std::string same =
        "cmp -s '" + old + "' '" + copy + "' && test \"$(ls -A '" + tiny + "')\" = old.kvd";
    startSimOn(1, {"--interval", "10", "--pace", "none"});
    FetchRun run = runFetch("--port '" + std::string(sims[0].linkPath) +
                            "' --span '20 minutes' -o '" + old + "'");
    // The new content is gathered in memory and found not to fit before the
    // old file changes: the save itself fails, as Save reports a failure.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("Unable to save data on disc!: 28\nkorvex-fetch: " + old +
                              ": No space left on device\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(std::system(same.c_str()), 0);

    createWindow();
    showPreviousData(12000);
    scripted.fileAnswers.push_back({true, old, 0});
    mainWindowCommand(IDM_SAVE, 0);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Unable to save data on disc!: 28 / Error:"});
    EXPECT_EQ(std::system(same.c_str()), 0);
    umount(tiny.c_str());
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
