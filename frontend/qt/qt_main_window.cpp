#include "frontend/qt/qt_main_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include "app/app_state.h"
#include "app/main_window.h"
#include "data/data_file.h"
#include "frontend/qt/qt_canvas.h"
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
    // A caption with system menu and minimise box: no maximise, no sizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    menuBar()->setNativeMenuBar(false);
    setAcceptDrops(true);

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

// The one local data file a drag carries, or an empty name: several files at
// once leave no single one to open.
static QString draggedDataFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls[0].isLocalFile())
        return {};
    const QString path = urls[0].toLocalFile();
    return path.endsWith(QStringLiteral(".") + DATA_FILE_EXTENSION, Qt::CaseInsensitive)
               ? path
               : QString();
}

void QtMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!draggedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void QtMainWindow::dropEvent(QDropEvent* event) {
    const QByteArray name = QFile::encodeName(draggedDataFile(event->mimeData()));
    if (name.isEmpty())
        return;
    event->acceptProposedAction();
    // The program the file came from waits until the drop is over: the file is
    // opened after it, so that a refusal's message box holds only this window.
    QTimer::singleShot(0, this, [name] { openNamedDataFileCommand(name.constData()); });
}
