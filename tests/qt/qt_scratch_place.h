// Where the Qt suites that build the real main window run: a scratch working
// directory, so the configuration file lands there, and a pseudo-terminal
// standing in for COM1, so window creation opens a port.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "frontend/qt/qt_main_window.h"
#include "ui/frontend.h"

struct QtScratchPlace {
    char workDir[64];
    char previousDir[4096];
    int port = -1;
};

inline void enterScratchPlace(QtScratchPlace* place, const char* name) {
    std::snprintf(place->workDir, sizeof place->workDir, "/tmp/%s-XXXXXX", name);
    ASSERT_NE(mkdtemp(place->workDir), nullptr);
    ASSERT_EQ(getcwd(place->previousDir, sizeof place->previousDir), place->previousDir);
    ASSERT_EQ(chdir(place->workDir), 0);
    place->port = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(place->port, 0);
    ASSERT_EQ(grantpt(place->port), 0);
    ASSERT_EQ(unlockpt(place->port), 0);
    setenv("KORVEX_COM1", ptsname(place->port), 1);
}

inline void leaveScratchPlace(QtScratchPlace* place) {
    close(place->port);
    place->port = -1;
    unsetenv("KORVEX_COM1");
    unlink("DAQSetup.cnf");
    EXPECT_EQ(chdir(place->previousDir), 0);
    rmdir(place->workDir);
}

// The window goes as File > Exit takes it; its posted quit runs here, outside
// any later test's dialog loop.
inline void destroyTestWindow(QtMainWindow** window) {
    uiDestroyMainWindow();
    QCoreApplication::sendPostedEvents();
    delete *window;
    *window = nullptr;
}
