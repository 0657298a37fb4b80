// Start-up: the command line is read, the main window is built (the program's
// window creation runs inside), then the reply events, then the window is
// shown, a data file named on the command line is opened, and the event loop
// runs until the window is destroyed.
//
// KORVEX_EXIT_AFTER_FIRST_PAINT=1 prints "first paint after N ms" (from the
// start of main) at the first paint and ends the program as File > Exit does;
// bench_charts measures the start-up time with it.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "app/data_file_commands.h"
#include "app/desktop_start.h"
#include "app/main_window.h"
#include "base/config_file.h"
#include "frontend/qt/qt_main_window.h"
#include "platform/file.h"

namespace {

constexpr int EXIT_USAGE = 2;

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help{{"h", "help"}, "Print these options and exit."};
    QCommandLineOption version{{"v", "version"}, "Print the version and exit."};
    QCommandLineOption desktop{
        "desktop", "Run as started from the desktop menu: keep DAQSetup.cnf in "
                   "$XDG_CONFIG_HOME/korvex and start the file dialogs in the home directory."};

    CommandLine() {
        parser.setApplicationDescription(
            "Downloads the logged values of a T596 power data logger, shows them as two charts "
            "and keeps them on disk.");
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(desktop);
        parser.addPositionalArgument("FILE.kvd", "A data file to open at start-up.", "[FILE.kvd]");
    }
};

// The options QApplication takes out of the arguments for itself. The first
// reading, made before there is a display, lets them pass unread.
void acceptQtOptions(QCommandLineParser* parser) {
    // Qt's own options are written with one dash ("-platform offscreen").
    parser->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const char* const withValue[] = {
        "platform",        "platformpluginpath", "platformtheme", "plugin",
        "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "session",
        "display",         "geometry",           "style",         "stylesheet"};
    for (const char* name : withValue) {
        QCommandLineOption option(name, "", "value");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser->addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(name, "");
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser->addOption(option);
    }
}

// The arguments as the system gave them, one byte a character: a file's name
// need not be UTF-8, and decoded as such it would name another file. Options
// are ASCII and read the same either way.
QStringList argumentBytes(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLatin1(argv[i]));
    return arguments;
}

// Reads the arguments; -1 to go on and start, or the exit code.
int readCommandLine(CommandLine& line, const QStringList& arguments) {
    QString complaint;
    if (!line.parser.parse(arguments)) {
        complaint = line.parser.errorText();
    } else if (line.parser.isSet(line.help)) {
        std::fputs(qPrintable(line.parser.helpText()), stdout);
        return 0;
    } else if (line.parser.isSet(line.version)) {
        std::printf("korvex %s\n", KORVEX_VERSION);
        return 0;
    } else if (line.parser.positionalArguments().size() > 1) {
        complaint = "Only one data file can be opened.";
    } else {
        return -1;
    }
    std::fprintf(stderr, "korvex: %s\nTry 'korvex --help' for more information.\n",
                 complaint.toLatin1().constData());
    return EXIT_USAGE;
}

// Qt ends the program with an abort when no window system can be reached;
// the user gets one line saying so instead. What Qt says while it starts is
// held back until it has started, since before a failure it is only noise.
QtMessageHandler qtOwnHandler;
QList<QPair<QtMsgType, QString>> startRemarks;

void judgeStart(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        startRemarks.append({type, text});
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if ((display == nullptr || display[0] == '\0') && std::getenv("WAYLAND_DISPLAY") == nullptr)
        std::fputs("korvex: no display to show the window on: DISPLAY is not set\n", stderr);
    else
        std::fprintf(stderr, "korvex: cannot show the window on the display %s\n",
                     display != nullptr ? display : std::getenv("WAYLAND_DISPLAY"));
    std::_Exit(EXIT_FAILURE);
}

void startDone() {
    qInstallMessageHandler(qtOwnHandler);
    for (const auto& [type, text] : startRemarks)
        qt_message_output(type, QMessageLogContext(), text);
    startRemarks.clear();
}

// The icon in every size it was drawn at; the window manager picks one.
QIcon programIcon() {
    QIcon icon;
    QDirIterator sizes(":/icons", {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Help, version and usage errors are answered before a window system is
    // asked for, so they work over a plain terminal too.
    {
        CommandLine first;
        acceptQtOptions(&first.parser);
        QCoreApplication reading(argc, argv);
        const int code = readCommandLine(first, argumentBytes(argc, argv));
        if (code >= 0)
            return code;
    }
    CommandLine line;

    qtOwnHandler = qInstallMessageHandler(judgeStart);
    QApplication application(argc, argv);
    startDone();
    // Qt has taken its own options out of argv.
    const int code = readCommandLine(line, argumentBytes(argc, argv));
    if (code >= 0)
        return code;
    QByteArray dataFile = line.parser.positionalArguments().value(0).toLatin1();
    if (line.parser.isSet(line.desktop)) {
        char absoluteName[FILE_PATH_SIZE];
        if (settleForTheDesktop("korvex", dataFile.constData(), absoluteName, sizeof absoluteName))
            dataFile = absoluteName;
    }
    QGuiApplication::setDesktopFileName("org.korvex.korvex");
    QApplication::setWindowIcon(programIcon());

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
    // Before the first paint, so that the window first shows the file's data;
    // a refusal's message box comes up over the shown window.
    if (!dataFile.isEmpty())
        openNamedDataFileCommand(dataFile.constData());
    return application.exec();
}
