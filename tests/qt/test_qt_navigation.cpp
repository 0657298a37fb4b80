// Navigation through the real widgets of the Qt main window: a span chosen
// with the keyboard on the span selector, the scroll bar's arrow clicked, and
// the cursor band dragged with the mouse, a release outside the window
// included; the readout's tooltip over the charts, which follows the mouse
// and leaves the drag alone.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QThread>
#include <QToolTip>

#include "data/sample_store.h"
#include "data/time_base.h"
#include "frontend/qt/qt_main_window.h"
#include "tests/qt/qt_scratch_place.h"
#include "tests/qt/qt_test_application.h"
#include "view/chart_readout.h"
#include "view/chart_view.h"

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class QtNavigation : public ::testing::Test {
  protected:
    void SetUp() override {
        qtTestApplication();
        QCoreApplication::sendPostedEvents();
        enterScratchPlace(&place, "korvex-qt-navigation");
        window = new QtMainWindow;
        window->show();
        for (uint32_t i = 0; i < 100000; ++i)
            sampleStore[i].value = uint8_t(i % 100);
        dataHeader = {10, 2, 100000, {}}; // "10 minutes": 6,000 samples at 0.10 s
        resetChartView();
    }
    void TearDown() override {
        destroyTestWindow(&window);
        leaveScratchPlace(&place);
        dataPresent = false;
    }
    QtMainWindow* window = nullptr;
    QtScratchPlace place;
};

TEST_F(QtNavigation, SpanScrollBarAndDragMoveTheView) {
    // The Down key takes "20 minutes": 12,000 samples, 20 per column.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(window->spanSelector, &down);
    EXPECT_EQ(chartView.samplesPerPixel, 20);
    ASSERT_TRUE(window->scrollBar->isVisibleTo(window));

    // A click on the right arrow: one line, then SB_ENDSCROLL at the release.
    QStyleOptionSlider option;
    option.initFrom(window->scrollBar);
    option.orientation = Qt::Horizontal;
    option.minimum = window->scrollBar->minimum();
    option.maximum = window->scrollBar->maximum();
    const QPoint arrow = window->scrollBar->style()
                             ->subControlRect(QStyle::CC_ScrollBar, &option,
                                              QStyle::SC_ScrollBarAddLine, window->scrollBar)
                             .center();
    sendMouse(window->scrollBar, QEvent::MouseButtonPress, arrow, Qt::LeftButton);
    sendMouse(window->scrollBar, QEvent::MouseButtonRelease, arrow, Qt::NoButton);
    ScrollInfo info;
    uiScrollGetInfo(&info);
    EXPECT_EQ(info.nPos, 1);
    EXPECT_EQ(window->scrollBar->value(), 1);
    EXPECT_EQ(chartView.mainStart, 100000u / 4400u);

    // The band is dragged 100 columns; a release outside the window does not
    // end the drag, so the mouse moves it on without its button.
    QWidget* chart = window->chart;
    sendMouse(chart, QEvent::MouseButtonPress, {180, 400}, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, {280, 400}, Qt::LeftButton);
    EXPECT_EQ(chartView.cursorX, 100);
    sendMouse(chart, QEvent::MouseMove, {280, 700}, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, {280, 700}, Qt::NoButton);
    sendMouse(chart, QEvent::MouseMove, {330, 300}, Qt::NoButton);
    EXPECT_EQ(chartView.cursorX, 150);
    EXPECT_EQ(chartView.zoomStart, chartView.mainStart + 150u * 20u);
    sendMouse(chart, QEvent::MouseButtonRelease, {330, 300}, Qt::NoButton);
    sendMouse(chart, QEvent::MouseMove, {400, 300}, Qt::NoButton);
    EXPECT_EQ(chartView.cursorX, 150);
}

// The mouse rests on the main chart: Qt asks for a tooltip, which names the
// column's sample and follows the mouse. A press hides it, as Qt hides every
// tip, and the band drags as before; resting on the zoom chart then names
// the sample the moved zoom window shows there; off the plot areas it goes.
TEST_F(QtNavigation, TheTooltipReadsTheSampleUnderTheMouse) {
    stampFromStart({2009, 12, 0, 25, 14, 30, 5, 0});
    QWidget* chart = window->chart;
    const auto rest = [chart](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, chart->mapToGlobal(at));
        QApplication::sendEvent(chart, &help);
    };
    rest({301, 400});
    ASSERT_TRUE(QToolTip::isVisible());
    // Column 151 at 166 samples per column: sample 25,066, 2,506.6 s on.
    EXPECT_EQ(QToolTip::text(), "25/12-09, 15:11:51.60\n66 %");
    sendMouse(chart, QEvent::MouseMove, {302, 400}, Qt::NoButton);
    EXPECT_EQ(QToolTip::text(), "25/12-09, 15:12:08.20\n32 %");

    sendMouse(chart, QEvent::MouseButtonPress, {180, 400}, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, {230, 400}, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, {230, 400}, Qt::NoButton);
    EXPECT_EQ(chartView.cursorX, 50);
    QCoreApplication::processEvents();
    rest({230, 100});
    ChartReadout zoom;
    ASSERT_TRUE(chartReadoutAt(230, 100, &zoom));
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8(zoom.text));
    EXPECT_GE(zoom.index, 50u * 166u);

    sendMouse(chart, QEvent::MouseMove, {230, 300}, Qt::NoButton);
    for (int i = 0; i < 100 && QToolTip::isVisible(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(chartView.cursorX, 50);
}

} // namespace
