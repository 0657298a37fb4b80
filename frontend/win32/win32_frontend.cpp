// The window-system functions the program calls, carried out with the
// system's own windows: message boxes, the menu bar, timers, posted commands,
// repaints, the span selector and the scroll bar. Texts go to the wide calls,
// so every language shows whole. (The dialogs are in win32_dialogs.cpp.)
#include "app/analysis_window.h"
#include "platform/win32/text_win32.h"
#include "res/menu_table.h"
#include "ui/frontend.h"

#include "frontend/win32/win32_window.h"

#include <vector>

std::wstring wideText(const char* utf8) {
    std::wstring wide;
    utf8ToWide(utf8, &wide);
    return wide;
}

void uiMessageBox(const char* text, const char* caption, unsigned icon) {
    MessageBoxW(win32Window.main, wideText(text).c_str(), wideText(caption).c_str(), MB_OK | icon);
}

// Owned by the open modal dialog, which the box then disables, so that the
// dialog cannot be clicked again underneath it. The dialog is known by name,
// not as the active window: the program need not be in the foreground.
void uiDialogMessageBox(const char* text, const char* caption, unsigned icon) {
    HWND owner = win32Window.modalDialog;
    MessageBoxW(owner != nullptr ? owner : win32Window.main, wideText(text).c_str(),
                wideText(caption).c_str(), MB_OK | icon);
}

// COMn is the system's own name of the port here, so a COM item shows no
// device beside it: the hint after the tab is left out.
void uiSetMenuBar(const MenuEntry* entries, int count) {
    HMENU bar = CreateMenu();
    std::vector<HMENU> popups;
    for (int i = 0; i < count; ++i) {
        const MenuEntry& entry = entries[i];
        std::wstring text = wideText(entry.text);
        text = text.substr(0, text.find(L'\t'));
        HMENU parent = popups.empty() ? bar : popups.back();
        switch (entry.kind) {
        case MENU_POPUP_BEGIN: {
            HMENU popup = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        text.c_str());
            popups.push_back(popup);
            break;
        }
        case MENU_ITEM:
            AppendMenuW(parent, MF_STRING, UINT_PTR(entry.commandId), text.c_str());
            break;
        case MENU_SEPARATOR:
            AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
            break;
        case MENU_POPUP_END:
            if (!popups.empty())
                popups.pop_back();
            break;
        }
    }
    HMENU previous = GetMenu(win32Window.main);
    SetMenu(win32Window.main, bar);
    if (previous != nullptr)
        DestroyMenu(previous);
}

void uiDestroyMenuBar() {
    HMENU bar = GetMenu(win32Window.main);
    if (bar == nullptr)
        return;
    SetMenu(win32Window.main, nullptr);
    DestroyMenu(bar);
}

void uiCheckMenuItem(int commandId, bool checked) {
    CheckMenuItem(GetMenu(win32Window.main), UINT(commandId),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void uiEnableMenuItem(int commandId, bool enabled) {
    EnableMenuItem(GetMenu(win32Window.main), UINT(commandId),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(win32Window.main);
}

void uiPostCommand(int commandId) {
    PostMessageW(win32Window.main, WM_COMMAND, WPARAM(commandId), 0);
}

void uiStartTimer(int timerId, unsigned periodMs) {
    SetTimer(win32Window.main, UINT_PTR(timerId), periodMs, nullptr);
}

void uiStopTimer(int timerId) {
    KillTimer(win32Window.main, UINT_PTR(timerId));
}

void uiDestroyMainWindow() {
    if (win32Window.main != nullptr)
        DestroyWindow(win32Window.main);
}

// Whatever moves the charts asks for a paint: the Analysis window follows
// them at once.
void uiInvalidate(bool erase) {
    InvalidateRect(win32Window.main, nullptr, erase ? TRUE : FALSE);
    analysisFollowCharts();
}

void uiSetWaitCursor(bool wait) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(wait ? IDC_WAIT : IDC_ARROW)));
}

void uiFocusMainWindow() {
    SetFocus(win32Window.main);
}

void uiSpanSetItems(const char* const* labels, int count) {
    HWND combo = win32Window.spanSelector;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        SendMessageW(combo, CB_INSERTSTRING, WPARAM(i),
                     reinterpret_cast<LPARAM>(wideText(labels[i]).c_str()));
    SendMessageW(combo, CB_SETCURSEL, WPARAM(-1), 0);
}

int uiSpanGetSelection() {
    return int(SendMessageW(win32Window.spanSelector, CB_GETCURSEL, 0, 0));
}

void uiSpanSetSelection(int index) {
    SendMessageW(win32Window.spanSelector, CB_SETCURSEL, WPARAM(index), 0);
}

void uiScrollGetInfo(ScrollInfo* info) {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    GetScrollInfo(win32Window.scrollBar, SB_CTL, &scroll);
    *info = {scroll.nMin, scroll.nMax, scroll.nPage, scroll.nPos, scroll.nTrackPos};
}

void uiScrollSetInfo(const ScrollInfo* info, unsigned mask) {
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = mask;
    scroll.nMin = info->nMin;
    scroll.nMax = info->nMax;
    scroll.nPage = info->nPage;
    scroll.nPos = info->nPos;
    scroll.nTrackPos = info->nTrackPos;
    SetScrollInfo(win32Window.scrollBar, SB_CTL, &scroll, TRUE);
}

void uiScrollShow(bool show) {
    ShowWindow(win32Window.scrollBar, show ? SW_SHOW : SW_HIDE);
}
