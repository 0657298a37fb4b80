// The window-system functions the program calls, carried out on the Qt main
// window: message boxes and the question, the menu bar, timers, posted commands, repaints, the
// span selector and the scroll bar. (The acquisition, progress and file
// dialogs are in qt_dialogs.cpp.)
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "app/analysis_window.h"
#include "app/main_window.h"
#include "base/texts.h"
#include "frontend/qt/qt_main_window.h"
#include "frontend/qt/qt_translations.h"
#include "res/menu_table.h"
#include "ui/frontend.h"

namespace {
bool waitCursorShown = false;

void runMessageBox(const char* text, const char* caption, unsigned icon, QWidget* owner) {
    QMessageBox box(icon == MB_ICONHAND ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromUtf8(caption), QString::fromUtf8(text), QMessageBox::Ok, owner);
    box.exec();
}
} // namespace

void uiMessageBox(const char* text, const char* caption, unsigned icon) {
    runMessageBox(text, caption, icon, qtMainWindow());
}

// The buttons carry the program's own labels, not Qt's translated standard
// ones, so the question speaks the program's language whatever Qt has.
int uiAskQuestion(const QuestionContent* content) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(content->caption),
                    QString::fromUtf8(content->text), QMessageBox::NoButton, qtMainWindow());
    const QMessageBox::ButtonRole roles[QUESTION_ANSWERS] = {
        QMessageBox::AcceptRole, QMessageBox::DestructiveRole, QMessageBox::RejectRole};
    QPushButton* buttons[QUESTION_ANSWERS];
    for (int i = 0; i < QUESTION_ANSWERS; ++i)
        buttons[i] = box.addButton(QString::fromUtf8(content->answers[i]), roles[i]);
    box.setDefaultButton(buttons[0]);
    box.setEscapeButton(buttons[QUESTION_ANSWERS - 1]);
    box.exec();
    for (int i = 0; i < QUESTION_ANSWERS; ++i)
        if (box.clickedButton() == buttons[i])
            return i;
    return QUESTION_ANSWERS - 1;
}

// The open modal dialog owns the box, so that it stands over that dialog.
void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    QWidget* dialog = QApplication::activeModalWidget();
    runMessageBox(text, caption, icon, dialog != nullptr ? dialog : qtMainWindow());
}

// A fresh bar replaces the old one, which Qt deletes with its menus. The bar
// is built at window creation and at every language switch, in the language
// then active: Qt's own dialogs take it up here too.
void uiSetMenuBar(const MenuEntry* entries, int count) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    qtFollowLanguage(activeLanguageBase());
    auto* bar = new QMenuBar;
    bar->setNativeMenuBar(false);
    window->menuActions.clear();
    std::vector<QMenu*> popups;
    for (int i = 0; i < count; ++i) {
        const MenuEntry& entry = entries[i];
        const QString text = QString::fromUtf8(entry.text);
        switch (entry.kind) {
        case MENU_POPUP_BEGIN:
            popups.push_back(popups.empty() ? bar->addMenu(text) : popups.back()->addMenu(text));
            break;
        case MENU_ITEM: {
            // Text after a tab shows in the shortcut column without being one.
            QAction* action =
                popups.empty() ? bar->addAction(text) : popups.back()->addAction(text);
            const int commandId = entry.commandId;
            QObject::connect(action, &QAction::triggered, action,
                             [action, commandId](bool checked) {
                                 // Qt toggles a checked item on its own; the program sets check
                                 // marks.
                                 if (action->isCheckable())
                                     action->setChecked(!checked);
                                 mainWindowCommand(commandId, 0);
                             });
            window->menuActions[commandId] = action;
            break;
        }
        case MENU_SEPARATOR:
            if (!popups.empty())
                popups.back()->addSeparator();
            break;
        case MENU_POPUP_END:
            if (!popups.empty())
                popups.pop_back();
            break;
        }
    }
    window->setMenuBar(bar);
}

void uiDestroyMenuBar() {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    window->menuActions.clear();
    window->menuBar()->clear();
}

void uiCheckMenuItem(int commandId, bool checked) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    const auto found = window->menuActions.find(commandId);
    if (found == window->menuActions.end())
        return;
    // Only a checked item shows a mark, as in a Win32 menu.
    found->second->setCheckable(checked);
    found->second->setChecked(checked);
}

void uiEnableMenuItem(int commandId, bool enabled) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    const auto found = window->menuActions.find(commandId);
    if (found != window->menuActions.end())
        found->second->setEnabled(enabled);
}

void uiPostCommand(int commandId) {
    QMetaObject::invokeMethod(
        qApp,
        [commandId] {
            const QtMainWindow* window = qtMainWindow();
            if (window && !window->destroyed)
                mainWindowCommand(commandId, 0);
        },
        Qt::QueuedConnection);
}

void uiStartTimer(int timerId, unsigned periodMs) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    QTimer*& timer = window->timers[timerId];
    if (!timer) {
        timer = new QTimer(window);
        QObject::connect(timer, &QTimer::timeout, window, [timerId] { mainWindowTimer(timerId); });
    }
    timer->start(int(periodMs));
}

void uiStopTimer(int timerId) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    const auto found = window->timers.find(timerId);
    if (found != window->timers.end())
        found->second->stop();
}

// The window's timers die with it; the destroy handler then runs and the event
// loop ends once control returns to it.
void uiDestroyMainWindow() {
    QtMainWindow* window = qtMainWindow();
    if (!window || window->destroyed)
        return;
    window->destroyed = true;
    for (auto& [id, timer] : window->timers)
        timer->stop();
    window->hide();
    mainWindowDestroy();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

// paintCharts covers the whole client area, so Qt's own erase is harmless.
// Whatever moves the charts asks for a paint: the Analysis window follows
// them in the same frame.
void uiInvalidate(bool) {
    if (QtMainWindow* window = qtMainWindow())
        window->chart->update();
    analysisFollowCharts();
}

void uiSetWaitCursor(bool wait) {
    if (wait == waitCursorShown)
        return;
    waitCursorShown = wait;
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void uiFocusMainWindow() {
    if (QtMainWindow* window = qtMainWindow())
        window->chart->setFocus();
}

void uiSpanSetItems(const char* const* labels, int count) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    window->spanSelector->clear();
    for (int i = 0; i < count; ++i)
        window->spanSelector->addItem(QString::fromUtf8(labels[i]));
    window->spanSelector->setCurrentIndex(-1);
}

int uiSpanGetSelection() {
    const QtMainWindow* window = qtMainWindow();
    return window ? window->spanSelector->currentIndex() : -1;
}

void uiSpanSetSelection(int index) {
    if (QtMainWindow* window = qtMainWindow())
        window->spanSelector->setCurrentIndex(index);
}

void uiScrollGetInfo(ScrollInfo* info) {
    const QtMainWindow* window = qtMainWindow();
    if (!window) {
        *info = {};
        return;
    }
    *info = window->scrollInfo;
    info->nTrackPos = window->scrollBar->sliderPosition();
}

// SetScrollInfo's rules: the page fits the range, the position fits the range
// less the page; Qt's scroll bar gets the highest position that leaves.
void uiScrollSetInfo(const ScrollInfo* info, unsigned mask) {
    QtMainWindow* window = qtMainWindow();
    if (!window)
        return;
    ScrollInfo& scroll = window->scrollInfo;
    if (mask & SIF_RANGE) {
        scroll.nMin = info->nMin;
        scroll.nMax = info->nMax;
    }
    if (mask & SIF_PAGE)
        scroll.nPage = info->nPage;
    if (mask & SIF_POS)
        scroll.nPos = info->nPos;
    const int64_t rangeSize = std::max<int64_t>(int64_t(scroll.nMax) - scroll.nMin + 1, 0);
    scroll.nPage = uint32_t(std::min<int64_t>(scroll.nPage, rangeSize));
    const int64_t highest = std::max<int64_t>(
        scroll.nMax - std::max<int64_t>(int64_t(scroll.nPage) - 1, 0), scroll.nMin);
    scroll.nPos = int32_t(std::clamp<int64_t>(scroll.nPos, scroll.nMin, highest));

    QScrollBar* bar = window->scrollBar;
    const QSignalBlocker quiet(bar);
    bar->setRange(scroll.nMin, int(highest));
    bar->setPageStep(std::max<int>(int(scroll.nPage), 1));
    bar->setSliderPosition(scroll.nPos);
    bar->setValue(scroll.nPos);
}

void uiScrollShow(bool show) {
    if (QtMainWindow* window = qtMainWindow())
        window->scrollBar->setVisible(show);
}
