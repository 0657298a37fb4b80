// Port choice and the port search against simulated T596s and silent or
// missing ports: the failed mark, the check mark, the link and what reaches
// the configuration file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "app/main_window.h"
#include "base/config_file.h"
#include "platform/clock.h"
#include "platform/serial_link.h"
#include "res/resource_ids.h"
#include "tests/e2e/program_on_sims.h"
#include "tests/support/scripted_frontend.h"

namespace {

const char* const MSG_78 = "Comm Port occupied or non-existing / Communication";
const char* const MSG_89 = "T596 not found on any COM-port! / Communication";

class Ports : public ProgramOnSims {
  protected:
    void choose(int port) { mainWindowCommand(IDM_COM_BASE + port, 0); }
    // The one port item that carries the check mark.
    int checkedPort() {
        int found = 0;
        for (int port = 1; port <= 8; ++port) {
            if (scripted.checked[IDM_COM_BASE + port])
                found = found == 0 ? port : -1;
        }
        return found;
    }
};

TEST_F(Ports, TheSearchFindsTheDeviceOnCom3) {
    startSimOn(1, {"--silent"});
    startSimOn(2, {"--silent"});
    startSimOn(3, {"--interval", "50"});
    createWindow();
    ASSERT_TRUE(linkIsOpen());
    uint64_t start = monotonicMs();
    mainWindowCommand(IDM_AUTO_CONNECT, 0);
    // COM1 and COM2 open and stay silent for their 1000 ms each.
    EXPECT_GE(monotonicMs() - start, 1900u);
    EXPECT_TRUE(messageTexts().empty());
    EXPECT_EQ(configBlock.comPort, 3);
    EXPECT_EQ(checkedPort(), 3);
    EXPECT_EQ(configuredPort(), 3);
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(scriptedCallsStartingWith("waitCursor"),
              (std::vector<std::string>{"waitCursor|1", "waitCursor|0"}));
}

TEST_F(Ports, ASearchFindingNothingReopensThePreviousPort) {
    startSimOn(2, {"--silent"});
    createWindow(); // COM1 is missing: message 78, the plain number kept
    choose(2);
    ASSERT_EQ(configBlock.comPort, 2);
    ASSERT_EQ(configuredPort(), 2);
    mainWindowCommand(IDM_AUTO_CONNECT, 0);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{MSG_78, MSG_89}));
    EXPECT_EQ(configBlock.comPort, 2);
    EXPECT_EQ(checkedPort(), 2);
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(configuredPort(), 2);
}

TEST_F(Ports, ASearchFindingNothingKeepsTheFailedMark) {
    startSimOn(1, {"--silent"});
    createWindow();
    choose(5); // missing
    ASSERT_EQ(configBlock.comPort, 15);
    mainWindowCommand(IDM_AUTO_CONNECT, 0);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{MSG_78, MSG_89}));
    EXPECT_EQ(configBlock.comPort, 15);
    EXPECT_EQ(checkedPort(), 5);
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(configuredPort(), 1);
}

TEST_F(Ports, TheFailedMarkComesAndGoesAsThePortsAllow) {
    startSimOn(1, {"--silent"});
    startSimOn(4, {"--silent"});
    startSimOn(5, {"--silent"});
    createWindow();
    ASSERT_EQ(configuredPort(), 1);

    choose(5); // COM1 closed, COM5 opened and written
    EXPECT_EQ(configBlock.comPort, 5);
    EXPECT_EQ(configuredPort(), 5);
    choose(3); // missing: marked, the check mark on COM 3, the file untouched
    EXPECT_EQ(messageTexts(), std::vector<std::string>{MSG_78});
    EXPECT_EQ(configBlock.comPort, 13);
    EXPECT_EQ(checkedPort(), 3);
    EXPECT_FALSE(linkIsOpen());
    EXPECT_EQ(configuredPort(), 5);
    choose(3); // tried once more
    EXPECT_EQ(messageTexts().size(), 2u);
    EXPECT_EQ(configBlock.comPort, 13);
    choose(4); // nothing to close; the check mark moves
    EXPECT_EQ(messageTexts().size(), 2u);
    EXPECT_EQ(configBlock.comPort, 4);
    EXPECT_EQ(checkedPort(), 4);
    EXPECT_TRUE(linkIsOpen());
    EXPECT_EQ(configuredPort(), 4);

    // The checked, open port again: nothing at all, not even a file write.
    ASSERT_EQ(unlink("DAQSetup.cnf"), 0);
    size_t calls = scripted.calls.size();
    choose(4);
    EXPECT_EQ(scripted.calls.size(), calls);
    EXPECT_EQ(configuredPort(), -1);
    EXPECT_TRUE(linkIsOpen());
}

TEST_F(Ports, AConfigurationThatCannotBeWrittenIsReportedAndThePortKept) {
    startSimOn(1, {"--silent"});
    startSimOn(2, {"--silent"});
    createWindow();
    ASSERT_EQ(unlink("DAQSetup.cnf"), 0);
    ASSERT_EQ(mkdir("DAQSetup.cnf", 0700), 0);
    choose(2);
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_EQ(messageTexts()[0].rfind("Error opening configuration file: ", 0), 0u);
    EXPECT_EQ(configBlock.comPort, 2);
    EXPECT_TRUE(linkIsOpen());
    rmdir("DAQSetup.cnf");
}

} // namespace
