// Start-up: the main window is built (the program's window creation runs
// inside), then the reply events, then the window is shown and the event loop
// runs until the window is destroyed.
//
// KORVEX_EXIT_AFTER_FIRST_PAINT=1 prints "first paint after N ms" (from the
// start of main) at the first paint and ends the program as File > Exit does;
// bench_charts measures the start-up time with it.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "app/main_window.h"
#include "frontend/frontend.h"
#include "frontend/qt/qt_main_window.h"

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);

    QtMainWindow window;
    if (!window.created())
        return 0;
    mainWindowCreateEvents();
    window.centreOnScreen();

    if (qEnvironmentVariableIsSet("KORVEX_EXIT_AFTER_FIRST_PAINT")) {
        QObject::connect(
            window.chart, &ChartWidget::painted, &window,
            [&sinceStart] {
                std::printf("first paint after %lld ms\n", (long long)sinceStart.elapsed());
                std::fflush(stdout);
                uiDestroyMainWindow();
            },
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    window.show();
    return application.exec();
}
