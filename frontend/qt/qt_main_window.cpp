#include "frontend/qt/qt_main_window.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "app/app_state.h"
#include "app/main_window.h"
#include "frontend/qt/qt_canvas.h"
#include "frontend/qt/qt_picture.h"
#include "view/chart_drawing.h"

namespace {
QtMainWindow* theWindow = nullptr;

// The span selector's place, and the scroll bar's under the main chart.
const QRect SPAN_SELECTOR_AREA(10, 330, 100, 0);
constexpr int SPAN_LIST_ROWS = 14;
const QPoint SCROLL_BAR_POSITION(150, 555);
constexpr int SCROLL_BAR_WIDTH = 600;
} // namespace

QtMainWindow* qtMainWindow() {
    return theWindow;
}

void SpanSelector::showPopup() {
    mainWindowCommand(IDC_SPAN_COMBO, CBN_DROPDOWN);
    QComboBox::showPopup();
}

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, qtColour(WINDOW_COLOUR));
    setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas canvas;
    qtCanvasInit(&canvas, &painter);
    paintCharts(&canvas);
    emit painted();
}

QtMainWindow::QtMainWindow() {
    theWindow = this;
    setWindowTitle(QString::fromUtf8(APP_TITLE));
    setWindowIcon(QIcon(QPixmap::fromImage(aboutPictureImage())));
    // A caption with system menu and minimise box: no maximise, no sizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    menuBar()->setNativeMenuBar(false);

    chart = new ChartWidget(this);
    setCentralWidget(chart);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    spanSelector = new SpanSelector(chart);
    spanSelector->setMaxVisibleItems(SPAN_LIST_ROWS);
    spanSelector->setGeometry(SPAN_SELECTOR_AREA.x(), SPAN_SELECTOR_AREA.y(),
                              SPAN_SELECTOR_AREA.width(), spanSelector->sizeHint().height());
    connect(spanSelector, &QComboBox::activated, this,
            [] { mainWindowCommand(IDC_SPAN_COMBO, CBN_SELENDOK); });

    scrollBar = new QScrollBar(Qt::Horizontal, chart);
    scrollBar->setGeometry(SCROLL_BAR_POSITION.x(), SCROLL_BAR_POSITION.y(), SCROLL_BAR_WIDTH,
                           style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    scrollBar->hide();

    creationResult = mainWindowCreate();
}

QtMainWindow::~QtMainWindow() {
    theWindow = nullptr;
}

void QtMainWindow::centreOnScreen() {
    adjustSize();
    const QRect screenArea = screen()->geometry();
    const QSize outer = frameGeometry().size();
    move(screenArea.x() + (screenArea.width() - outer.width()) / 2,
         screenArea.y() + (screenArea.height() - outer.height()) / 2);
}

// The close box asks the program; only its own destruction closes the window.
void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (destroyed) {
        event->accept();
        return;
    }
    event->ignore();
    mainWindowClose();
}
