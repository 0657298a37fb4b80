// The one QApplication of the Qt tests, made on first use.
#pragma once
#include <QApplication>

inline QApplication* qtTestApplication() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return application;
}
