// The Analysis menu and window through the real Qt widgets: the bar keeps
// its menus and gains Analysis last; the window's figures and its copied
// text for each scope against korvex-convert of the same records, the zoom
// scope following a drag of the band; a chosen row brings the charts to it
// as scrolling and dragging would; the settings between runs beside an
// unchanged DAQSetup.cnf; and Report writing the tools' report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/analysis_settings.h"
#include "app/analysis_window.h"
#include "app/main_window.h"
#include "data/csv_export.h"
#include "data/data_file_format.h"
#include "data/load_request_text.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "frontend/qt/qt_main_window.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_modal.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "view/chart_view.h"

namespace {

constexpr uint32_t SAMPLES = 100000; // about 28 hours at one a second
constexpr uint32_t PEAK_INDEX = 73123;

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(pipe != nullptr ? pclose(pipe) : -1, 0) << command;
    return out;
}

std::string stampOf(uint32_t index) {
    char text[CSV_STAMP_SIZE];
    csvStampText(sampleStore[index], text);
    return text;
}

// korvex-convert's options for records first .. first + count - 1 of the
// saved file and the window's settings.
std::string convertOptions(const RecordScope& scope) {
    std::ostringstream options;
    options << " --from " << stampOf(scope.first);
    if (scope.first + scope.count < SAMPLES)
        options << " --to " << stampOf(scope.first + scope.count);
    const LoadSummaryRequest& request = analysisRequest();
    options << " --demand-minutes " << request.demandMinutes << " --above ";
    for (int k = 0; k < request.thresholdCount; ++k)
        options << (k ? "," : "") << request.thresholds[k];
    char rated[32];
    ratedKwText(request.ratedMilliKw, rated, sizeof rated);
    if (rated[0] != '\0')
        options << " --rated-kw " << rated;
    return options.str();
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Records the documents the program opens instead of starting a browser.
class OpenedDocuments : public QObject {
    Q_OBJECT
  public:
    std::vector<std::string> paths;
  public slots:
    void open(const QUrl& url) { paths.push_back(url.toLocalFile().toStdString()); }
};

class QtAnalysis : public ::testing::Test {
  protected:
    void SetUp() override {
        qtTestApplication();
        QCoreApplication::sendPostedEvents();
        enterScratchPlace(&place, "korvex-qt-analysis");
        QDesktopServices::setUrlHandler("file", &opened, "open");
        window = new QtMainWindow;
        window->show();
        for (uint32_t i = 0; i < SAMPLES; ++i) {
            int v = 50 + int(20 * std::sin(i / 3000.0));
            if (i % 7000 < 300)
                v = 110 + int(i % 7);
            sampleStore[i].value = uint8_t(v);
        }
        sampleStore[PEAK_INDEX].value = 180;
        sampleStore[20000].value = 201;
        for (uint32_t i = 50000; i < 50010; ++i)
            sampleStore[i].value = SAMPLE_GAP;
        dataHeader = {100, 9, SAMPLES, {}}; // one a second, "18 hours"
        stampFromStart({2009, 12, 0, 25, 6, 0, 0, 0});
        resetChartView();
        ASSERT_EQ(writeDataFile("day.kvd"), 0);
    }
    void TearDown() override {
        if (QDialog* dialog = analysisDialog())
            dialog->close();
        destroyTestWindow(&window);
        QDesktopServices::unsetUrlHandler("file");
        std::remove("day.kvd");
        std::remove(ANALYSIS_SETTINGS_FILE_NAME);
        leaveScratchPlace(&place);
        dataPresent = false;
    }
    QDialog* analysisDialog() { return window->findChild<QDialog*>("analysisWindow"); }
    QDialog* openAnalysis() {
        mainWindowCommand(IDM_ANALYSIS_SUMMARY, 0);
        QDialog* dialog = analysisDialog();
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog != nullptr && dialog->isVisible());
        return dialog;
    }
    template <class T> T* control(const char* name) {
        return analysisDialog()->findChild<T*>(name);
    }
    void chooseScope(int scope) {
        control<QRadioButton>(("analysisScope" + std::to_string(scope)).c_str())->click();
    }
    void chooseRow(int row) {
        QListWidget* list = control<QListWidget>("analysisList");
        list->setCurrentRow(row);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        QCoreApplication::processEvents();
    }
    // The window's figures and its Copy against korvex-convert of the same
    // records and settings.
    void expectTheToolsFigures(int scope) {
        SCOPED_TRACE("scope " + std::to_string(scope));
        const RecordScope records = analysisScopeRecords(scope);
        const std::string options = convertOptions(records);
        const QJsonObject json =
            QJsonDocument::fromJson(
                QByteArray::fromStdString(
                    run(std::string(KORVEX_CONVERT) + " day.kvd --summary --json" + options)))
                .object();
        const QString figures = control<QPlainTextEdit>("analysisFigures")->toPlainText();
        const auto expectLine = [&figures](const QString& line) {
            EXPECT_TRUE(figures.contains(line + "\n") || figures.contains(line + " "))
                << line.toStdString() << "\nin\n"
                << figures.toStdString();
        };
        QString maxTime = json["max_time"].toString();
        maxTime[10] = ' ';
        expectLine(QString("Records: %1").arg(json["count"].toInteger()));
        expectLine(QString("Value samples: %1").arg(json["values"].toInteger()));
        expectLine(QString("Maximum: %1 %").arg(json["max"].toInteger()));
        EXPECT_TRUE(figures.contains(maxTime)) << maxTime.toStdString();
        expectLine(QString("Mean: %1 %").arg(json["mean"].toDouble(), 0, 'f', 2));
        expectLine(QString("Maximum demand: %1 %").arg(json["max_demand"].toDouble(), 0, 'f', 2));
        expectLine(QString("Markers: %1").arg(json["markers"].toArray().size()));

        control<QPushButton>("analysisCopy")->click();
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
                  run(std::string(KORVEX_CONVERT) + " day.kvd --summary" + options));
    }

    QtMainWindow* window = nullptr;
    QtScratchPlace place;
    OpenedDocuments opened;
};

// The bar's menus before it: QtMainWindowTest.MenuBarFollowsTheEntriesWithCheckMarksOnly.
TEST_F(QtAnalysis, TheAnalysisMenuOpensTheWindowInTheProgramsLanguage) {
    QMenu* analysis = window->menuBar()->actions().last()->menu();
    ASSERT_NE(analysis, nullptr);
    QStringList items;
    for (QAction* action : analysis->actions())
        items << action->text();
    EXPECT_EQ(items, (QStringList{"&Summary...", "&Report..."}));
    analysis->actions().first()->trigger();
    ASSERT_NE(analysisDialog(), nullptr);
    EXPECT_EQ(analysisDialog()->windowTitle(), "Analysis");
    // In German at once, the window with it.
    mainWindowCommand(IDM_LANG_GERMAN, 0);
    EXPECT_EQ(window->menuBar()->actions().last()->text(), "&Analyse");
    EXPECT_EQ(control<QPushButton>("analysisCopy")->text(), "&Kopieren");
    EXPECT_TRUE(
        control<QPlainTextEdit>("analysisFigures")->toPlainText().startsWith("Datensätze:"));
    mainWindowCommand(IDM_LANG_ENGLISH, 0);
}

// The zoom scope after the band was dragged, then the main chart's and all.
TEST_F(QtAnalysis, EachScopeShowsWhatTheToolsSayOfItsRecords) {
    openAnalysis();
    chooseScope(ANALYSIS_ZOOM);
    const QString before = control<QPlainTextEdit>("analysisFigures")->toPlainText();
    sendMouse(window->chart, QEvent::MouseButtonPress, {180, 400}, Qt::LeftButton);
    sendMouse(window->chart, QEvent::MouseMove, {480, 400}, Qt::LeftButton);
    sendMouse(window->chart, QEvent::MouseButtonRelease, {480, 400}, Qt::NoButton);
    ASSERT_EQ(chartView.cursorX, 300);
    EXPECT_NE(control<QPlainTextEdit>("analysisFigures")->toPlainText(), before);
    EXPECT_EQ(analysisScopeRecords(ANALYSIS_ZOOM).first, 300u * 166u);
    expectTheToolsFigures(ANALYSIS_ZOOM);
    chooseScope(ANALYSIS_MAIN);
    expectTheToolsFigures(ANALYSIS_MAIN);
    chooseScope(ANALYSIS_ALL);
    expectTheToolsFigures(ANALYSIS_ALL);
}

// A shorter span, so that the main chart must be scrolled to the peak; then
// an excursion elsewhere. Each time both charts hold the place, and the zoom
// and main exports are byte for byte those a user gets who drags the thumb
// and the band to where the jump left them, from where the charts started.
TEST_F(QtAnalysis, ChoosingARowBringsTheChartsToIt) {
    const auto startingView = [this] {
        resetChartView();
        window->spanSelector->setCurrentIndex(6); // "2 hours": 7,200 samples
        mainWindowCommand(IDC_SPAN_COMBO, CBN_SELENDOK);
        ASSERT_EQ(chartView.samplesPerPixel, 12);
    };
    int exports = 0;
    // The exports take the ends the last paint drew, as the user saw them.
    const auto exported = [this, &exports] {
        window->chart->repaint();
        std::string both;
        for (int command : {IDM_EXPORT_ZOOM, IDM_EXPORT_MAIN}) {
            const std::string name =
                std::string(place.workDir) + "/shown" + std::to_string(++exports) + ".daq";
            chooseInFileDialog(name);
            mainWindowCommand(command, 0);
            both += readWhole(name);
            std::remove(name.c_str());
        }
        EXPECT_GT(both.size(), 1000u);
        return both;
    };
    const auto expectShownAsByHand = [&](uint32_t index, const char* what) {
        SCOPED_TRACE(what);
        for (int scope : {ANALYSIS_ZOOM, ANALYSIS_MAIN}) {
            const RecordScope shown = analysisScopeRecords(scope);
            EXPECT_GE(index, shown.first);
            EXPECT_LT(index, shown.first + shown.count);
        }
        const int column = int(index - chartView.mainStart) / chartView.samplesPerPixel;
        EXPECT_EQ(chartView.cursorX, column - 30); // the place in the band's middle
        const int thumb = window->scrollBar->value();
        const int band = chartView.cursorX;
        const std::string jumped = exported();

        startingView();
        QScrollBar* bar = window->scrollBar;
        bar->setSliderDown(true);
        bar->setSliderPosition(thumb);
        bar->setSliderDown(false);
        sendMouse(window->chart, QEvent::MouseButtonPress, {180, 400}, Qt::LeftButton);
        sendMouse(window->chart, QEvent::MouseMove, {180 + band, 400}, Qt::LeftButton);
        sendMouse(window->chart, QEvent::MouseButtonRelease, {180 + band, 400}, Qt::NoButton);
        const std::string byHand = exported();
        EXPECT_TRUE(byHand == jumped) << byHand.substr(0, 200) << "\n" << jumped.substr(0, 200);
    };

    startingView();
    openAnalysis();
    chooseScope(ANALYSIS_ALL);
    QListWidget* list = control<QListWidget>("analysisList");
    ASSERT_GE(list->count(), 9);
    EXPECT_TRUE(list->item(0)->text().startsWith("Peak: 180 %, 2009-12-26 "));
    EXPECT_TRUE(list->item(2)->text().startsWith(
        "At or above 80 %: 2009-12-25 06:00:00.00, 0:05:00.00, Peak 116 %"))
        << list->item(2)->text().toStdString();
    chooseRow(0);
    expectShownAsByHand(PEAK_INDEX, "the peak");
    // Bursts every 7,000 samples, each at or above 80 and then 100 %: the
    // one at 21,000 is the fourth.
    chooseRow(8);
    expectShownAsByHand(21000, "an excursion");
}

TEST_F(QtAnalysis, SettingsOutliveTheRunBesideAnUnchangedConfiguration) {
    const std::string configuration = readWhole("DAQSetup.cnf");
    ASSERT_EQ(configuration.size(), 282u);
    openAnalysis();
    EXPECT_EQ(control<QComboBox>("analysisDemand")->currentText(), "15 minutes");
    EXPECT_EQ(control<QLineEdit>("analysisThresholds")->text(), "80,100");
    EXPECT_EQ(control<QLineEdit>("analysisRated")->text(), "");
    control<QComboBox>("analysisDemand")->activated(3);
    QLineEdit* thresholds = control<QLineEdit>("analysisThresholds");
    thresholds->setFocus();
    thresholds->selectAll();
    for (const char* typed : {"9", "0", ",", "1", "2", "0"})
        thresholds->insert(typed), thresholds->textEdited(thresholds->text());
    control<QLineEdit>("analysisRated")->textEdited("250.5");
    EXPECT_EQ(readWhole(ANALYSIS_SETTINGS_FILE_NAME),
              "demand-minutes=30\nthresholds=90,120\nrated-kw=250.5\n");
    expectTheToolsFigures(ANALYSIS_ALL);
    // The next run reads them back; the configuration, written again by a
    // language switch, keeps its bytes.
    const LoadSummaryRequest loaded = loadAnalysisSettings();
    EXPECT_EQ(loaded.demandMinutes, 30u);
    EXPECT_EQ(std::vector<uint16_t>(loaded.thresholds, loaded.thresholds + loaded.thresholdCount),
              (std::vector<uint16_t>{90, 120}));
    EXPECT_EQ(loaded.ratedMilliKw, 250500u);
    mainWindowCommand(IDM_LANG_ENGLISH, 0);
    EXPECT_EQ(readWhole("DAQSetup.cnf"), configuration);
    // A damaged file gives the defaults.
    std::ofstream(ANALYSIS_SETTINGS_FILE_NAME) << "demand-minutes=7\nthresholds=90\n";
    const LoadSummaryRequest defaults = loadAnalysisSettings();
    EXPECT_EQ(defaults.demandMinutes, 15u);
    EXPECT_EQ(defaults.thresholdCount, 2);
    EXPECT_EQ(defaults.ratedMilliKw, 0u);
}

// Report writes the tools' report of the same records and settings and
// opens it; only its file and its making differ.
TEST_F(QtAnalysis, ReportIsTheToolsReportOfTheScope) {
    openAnalysis();
    chooseScope(ANALYSIS_MAIN);
    control<QLineEdit>("analysisRated")->textEdited("400");
    const std::string report = std::string(place.workDir) + "/window.html";
    chooseInFileDialog(report);
    control<QPushButton>("analysisReport")->click();
    ASSERT_EQ(opened.paths.size(), 1u);
    EXPECT_EQ(opened.paths[0], report);
    run(std::string(KORVEX_CONVERT) + " day.kvd --report tools.html" +
        convertOptions(analysisScopeRecords(ANALYSIS_MAIN)));
    const QRegularExpression fileAndMade("<tr><th scope=\"row\">(File|Made)</th><td>[^\n]*\n");
    QString ours = QString::fromStdString(readWhole("window.html"));
    QString tools = QString::fromStdString(readWhole("tools.html"));
    ASSERT_TRUE(ours.contains(fileAndMade));
    EXPECT_EQ(ours.remove(fileAndMade), tools.remove(fileAndMade));
    std::remove("window.html");
    std::remove("tools.html");
}

} // namespace

#include "test_qt_analysis.moc"
