// The Qt main window: a fixed-size window whose client area below the menu
// bar is the charts' 800 x 577 canvas, with the span selector and the scroll
// bar as children. The front-end functions (qt_frontend.cpp, qt_dialogs.cpp)
// act on the one instance.
#pragma once
#include <QComboBox>
#include <QMainWindow>
#include <QScrollBar>
#include <QWidget>
#include <map>

#include "ui/frontend.h"

class QTimer;
class QAction;

// Reports CBN_DROPDOWN before its list opens, as a Win32 combo box does.
// The keys and the wheel change the selection with the list closed; they
// report it too, so that a choice the program refuses returns to the span
// shown before it.
class SpanSelector : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
    void showPopup() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

// The client area: paints the charts through a Qt canvas and hands the left
// button and the mouse's moves, in client coordinates, to the cursor drag.
// Resting the mouse on a plot area shows the readout of its column in a
// tooltip, which then follows the mouse from column to column.
class ChartWidget : public QWidget {
    Q_OBJECT
  public:
    explicit ChartWidget(QWidget* parent);

  signals:
    // After every paint; the start-up measurement waits for the first.
    void painted();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void showReadout(QPoint at, QPoint global);
};

// Ends every press on the bar with SB_ENDSCROLL, after SB_THUMBPOSITION when
// the thumb was dragged, as a Win32 scroll bar does.
class ChartScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    ChartScrollBar(QWidget* parent);

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class QtMainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Builds the window and its controls, then runs the program's window
    // creation (configuration, port, menu, timers, drawing objects).
    QtMainWindow();
    ~QtMainWindow() override;

    // Whether window creation succeeded (mainWindowCreate returned 0).
    bool created() const { return creationResult == 0; }
    void centreOnScreen();

    ChartWidget* chart;
    SpanSelector* spanSelector;
    QScrollBar* scrollBar;
    // Win32 keeps the range's end and the page apart; Qt only knows the
    // highest position, so the scroll information lives here.
    ScrollInfo scrollInfo{};
    std::map<int, QTimer*> timers;
    std::map<int, QAction*> menuActions;
    bool destroyed = false;
    bool waitCursor = false;

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A data file dropped on the window opens as a name chosen in File > Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    int creationResult = 0;
};

// The main window, or null before it is built.
QtMainWindow* qtMainWindow();
