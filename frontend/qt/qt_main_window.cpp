#include "frontend/qt/qt_main_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include "app/data_file_commands.h"
#include "app/main_window.h"
#include "frontend/qt/qt_canvas.h"
#include "res/program_names.h"
#include "res/resource_ids.h"
#include "ui/frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_readout.h"
#include "view/navigation.h"
#include "view/window_layout.h"

namespace {
QtMainWindow* theWindow = nullptr;

// The span selector's place, and the scroll bar's under the main chart.
const QRect SPAN_SELECTOR_AREA(10, 330, 100, 0);
constexpr int SPAN_LIST_ROWS = 14;
const QPoint SCROLL_BAR_POSITION(150, 555);
constexpr int SCROLL_BAR_WIDTH = 600;

// A coordinate as the 16-bit word of a mouse message carries it.
uint16_t messageWord(int value) {
    return uint16_t(value & 0xFFFF);
}
} // namespace

QtMainWindow* qtMainWindow() {
    return theWindow;
}

void SpanSelector::showPopup() {
    mainWindowCommand(IDC_SPAN_COMBO, CBN_DROPDOWN);
    QComboBox::showPopup();
}

void SpanSelector::keyPressEvent(QKeyEvent* event) {
    mainWindowCommand(IDC_SPAN_COMBO, CBN_DROPDOWN);
    QComboBox::keyPressEvent(event);
}

void SpanSelector::wheelEvent(QWheelEvent* event) {
    mainWindowCommand(IDC_SPAN_COMBO, CBN_DROPDOWN);
    QComboBox::wheelEvent(event);
}

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, qtColour(WINDOW_COLOUR));
    setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

bool ChartWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    showReadout(help->pos(), help->globalPos());
    return true;
}

// The tooltip names the sample of the column under the mouse; off the plot
// areas, or on a column that shows no sample, there is none.
void ChartWidget::showReadout(QPoint at, QPoint global) {
    ChartReadout readout;
    if (chartReadoutAt(at.x(), at.y(), &readout))
        QToolTip::showText(global, QString::fromUtf8(readout.text), this);
    else
        QToolTip::hideText();
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas canvas;
    qtCanvasInit(&canvas, &painter);
    paintCharts(&canvas);
    emit painted();
}

// Win32 delivers WM_MOUSEMOVE and WM_LBUTTONUP only inside the client area of
// a window that has not captured the mouse; Qt grabs it on a press and reports
// moves and the release wherever they happen. What happens outside is dropped
// here, so a release outside the window leaves the drag running until the
// next release inside it.
void ChartWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        onCursorButtonDown(messageWord(at.x()), messageWord(at.y()));
    }
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (rect().contains(at))
        onCursorMove(messageWord(at.x()));
    if (QToolTip::isVisible())
        showReadout(at, event->globalPosition().toPoint());
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        onCursorButtonUp();
}

ChartScrollBar::ChartScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    // Each action reaches the program before Qt applies its own step, and the
    // program writes the position it chooses back (uiScrollSetInfo), which is
    // then what the bar takes.
    connect(this, &QAbstractSlider::actionTriggered, this, [](int action) {
        switch (action) {
        case SliderSingleStepSub:
            onChartScroll(SB_LINELEFT);
            break;
        case SliderSingleStepAdd:
            onChartScroll(SB_LINERIGHT);
            break;
        case SliderPageStepSub:
            onChartScroll(SB_PAGELEFT);
            break;
        case SliderPageStepAdd:
            onChartScroll(SB_PAGERIGHT);
            break;
        case SliderMove:
            onChartScroll(SB_THUMBTRACK);
            break;
        case SliderToMinimum:
            onChartScroll(SB_LEFT);
            break;
        case SliderToMaximum:
            onChartScroll(SB_RIGHT);
            break;
        default:
            break;
        }
    });
    connect(this, &QAbstractSlider::sliderReleased, this, [] { onChartScroll(SB_THUMBPOSITION); });
}

void ChartScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    QScrollBar::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        onChartScroll(SB_ENDSCROLL);
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

    scrollBar = new ChartScrollBar(chart);
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

namespace {

// The one local data file a drag carries, as the bytes of its name, or an
// empty name: several files at once leave no single one to open. A file URL
// carries the name's bytes percent-encoded, whatever their encoding; decoded
// through a QString, a name that is not UTF-8 would become another file's.
QByteArray draggedDataFile(const QMimeData* data) {
    QList<QByteArray> uris;
    for (const QByteArray& line : data->data(QStringLiteral("text/uri-list")).split('\n')) {
        const QByteArray uri = line.trimmed();
        if (!uri.isEmpty() && !uri.startsWith('#'))
            uris.append(uri);
    }
    if (uris.size() != 1 || uris[0].left(7).toLower() != "file://")
        return {};
    QByteArray encoded = uris[0].mid(7);
    if (encoded.startsWith("localhost/"))
        encoded = encoded.mid(9);
    // Another host's file, or a query or fragment, is no local file's name.
    if (!encoded.startsWith('/') || encoded.contains('?') || encoded.contains('#'))
        return {};
    const QByteArray path = QByteArray::fromPercentEncoding(encoded);
    const QByteArray extension = QByteArray(".") + DATA_FILE_EXTENSION;
    return !path.contains('\0') && path.toLower().endsWith(extension) ? path : QByteArray();
}

} // namespace

void QtMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!draggedDataFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void QtMainWindow::dropEvent(QDropEvent* event) {
    const QByteArray name = draggedDataFile(event->mimeData());
    if (name.isEmpty())
        return;
    event->acceptProposedAction();
    // The program the file came from waits until the drop is over: the file is
    // opened after it, so that a refusal's message box holds only this window.
    QTimer::singleShot(0, this, [name] { openNamedDataFileCommand(name.constData()); });
}
