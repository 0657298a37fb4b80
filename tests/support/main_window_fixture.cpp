#include "tests/support/main_window_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "app/main_window.h"
#include "base/config_file.h"
#include "data/sample_store.h"
#include "platform/serial_link.h"
#include "platform/serial_ports.h"
#include "tests/support/scripted_frontend.h"

namespace {

std::string portVariable(int port) {
    return "KORVEX_COM" + std::to_string(port);
}

void pointPortsNowhere() {
    for (int port = SERIAL_PORT_FIRST; port <= SERIAL_PORT_LAST; ++port) {
        std::string path = "/nonexistent/korvex-com" + std::to_string(port);
        setenv(portVariable(port).c_str(), path.c_str(), 1);
    }
}

} // namespace

void ConfigDirectoryTest::SetUp() {
    ASSERT_NE(getcwd(previousDirectory_, sizeof previousDirectory_), nullptr);
    char pattern[] = "/tmp/korvex-config-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    ASSERT_EQ(chdir(directory_.c_str()), 0);
}

// The configuration a test leaves in memory (a language switched, a port
// marked) would change the texts and ports of the tests after it.
void ConfigDirectoryTest::TearDown() {
    configBlock = ConfigBlock{};
    ASSERT_EQ(chdir(previousDirectory_), 0);
    std::string command = "rm -rf '" + directory_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

void ConfigDirectoryTest::writeConfigFile(const std::vector<uint8_t>& bytes) {
    std::ofstream out(CONFIG_FILE_NAME, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ConfigDirectoryTest::configFileBytes() {
    std::ifstream in(CONFIG_FILE_NAME, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> ConfigDirectoryTest::defaultConfigImage() {
    std::vector<uint8_t> image(CONFIG_BLOCK_SIZE, 0);
    image[0] = 1;
    return image;
}

void MainWindowTest::SetUp() {
    ConfigDirectoryTest::SetUp();
    pointPortsNowhere();
    dataPresent = false;
    scriptedReset();
}

void MainWindowTest::resetWindow() {
    if (!scripted.mainWindowDestroyed && scripted.menuBarAttached) {
        mainWindowDestroy();
    }
    closeLink();
    for (int terminal : terminals_) {
        close(terminal);
    }
    terminals_.clear();
    pointPortsNowhere();
    scriptedReset();
}

void MainWindowTest::TearDown() {
    resetWindow();
    for (int port = SERIAL_PORT_FIRST; port <= SERIAL_PORT_LAST; ++port) {
        unsetenv(portVariable(port).c_str());
    }
    dataPresent = false;
    ConfigDirectoryTest::TearDown();
}

std::string MainWindowTest::attachPseudoTerminal(int port) {
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return "";
    }
    terminals_.push_back(terminal);
    std::string device = ptsname(terminal);
    setenv(portVariable(port).c_str(), device.c_str(), 1);
    return device;
}

void CreatedMainWindowTest::SetUp() {
    MainWindowTest::SetUp();
    attachPseudoTerminal(1);
    mainWindowCreate();
    scripted.calls.clear();
}
