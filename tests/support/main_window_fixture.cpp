#include "tests/support/main_window_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "app/config_file.h"
#include "app/main_window.h"
#include "data/sample_store.h"
#include "link/serial_link.h"
#include "platform/serial_ports.h"
#include "tests/support/scripted_frontend.h"

namespace {

void pointPortsNowhere() {
    for (int port = SERIAL_PORT_FIRST; port <= SERIAL_PORT_LAST; ++port) {
        char name[32];
        char path[64];
        std::snprintf(name, sizeof name, "KORVEX_COM%d", port);
        std::snprintf(path, sizeof path, "/nonexistent/korvex-com%d", port);
        setenv(name, path, 1);
    }
}

} // namespace

void MainWindowTest::SetUp() {
    ASSERT_NE(getcwd(previousDirectory_, sizeof previousDirectory_), nullptr);
    char pattern[] = "/tmp/korvex-window-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    ASSERT_EQ(chdir(directory_.c_str()), 0);
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
        char name[32];
        std::snprintf(name, sizeof name, "KORVEX_COM%d", port);
        unsetenv(name);
    }
    dataPresent = false;
    ASSERT_EQ(chdir(previousDirectory_), 0);
    std::string command = "rm -rf '" + directory_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

std::string MainWindowTest::attachPseudoTerminal(int port) {
    int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return "";
    }
    terminals_.push_back(terminal);
    std::string device = ptsname(terminal);
    std::string name = "KORVEX_COM" + std::to_string(port);
    setenv(name.c_str(), device.c_str(), 1);
    return device;
}

void MainWindowTest::writeConfigFile(const std::vector<uint8_t>& bytes) {
    std::ofstream out(CONFIG_FILE_NAME, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> MainWindowTest::configFileBytes() {
    std::ifstream in(CONFIG_FILE_NAME, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> MainWindowTest::defaultConfigImage() {
    std::vector<uint8_t> image(CONFIG_BLOCK_SIZE, 0);
    image[0] = 1;
    return image;
}
