// A tracking tooltip (TTF_TRACK | TTF_ABSOLUTE) is placed and shown by the
// program, not by the tooltip's own timer, so that it can follow the mouse
// from column to column; WM_MOUSEHOVER (TrackMouseEvent) tells when the
// mouse rests, as Qt waits for its own tooltip.
#include "view/chart_readout.h"

#include "frontend/win32/win32_readout.h"
#include "frontend/win32/win32_window.h"

#include <commctrl.h>

namespace {

// Below and right of the pointer, clear of the arrow cursor.
constexpr int TIP_OFFSET_X = 16;
constexpr int TIP_OFFSET_Y = 20;
constexpr int TIP_MAX_WIDTH = 400; // lets "\r\n" break the tip into lines

HWND tip;
bool shown;
bool watching; // a WM_MOUSEHOVER or WM_MOUSELEAVE is asked for
std::wstring shownText;

// Without a manifest for version 6 of the common controls the tooltip takes
// only the structure's older size.
TOOLINFOW toolFor(HWND window, wchar_t* text) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = window;
    tool.uId = 1;
    tool.lpszText = text;
    return tool;
}

void watchMouse(HWND window, DWORD what) {
    TRACKMOUSEEVENT track{sizeof track, what, window, HOVER_DEFAULT};
    watching = TrackMouseEvent(&track) != 0;
}

void hide() {
    if (!shown)
        return;
    TOOLINFOW tool = toolFor(win32Window.main, nullptr);
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    shown = false;
}

// Shows or moves the tip for (x, y), or hides it off a plot area.
void place(HWND window, int x, int y) {
    ChartReadout readout;
    if (!chartReadoutAt(x, y, &readout)) {
        hide();
        return;
    }
    std::wstring text;
    for (wchar_t c : wideText(readout.text))
        text += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    TOOLINFOW tool = toolFor(window, text.data());
    if (text != shownText) {
        SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        shownText = text;
    }
    POINT at{x, y};
    ClientToScreen(window, &at);
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x + TIP_OFFSET_X, at.y + TIP_OFFSET_Y));
    if (!shown) {
        SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        shown = true;
    }
}

} // namespace

void readoutCreate(HWND window) {
    tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, win32Window.instance,
                          nullptr);
    if (tip == nullptr)
        return;
    wchar_t empty[] = L"";
    TOOLINFOW tool = toolFor(window, empty);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, TIP_MAX_WIDTH);
}

void readoutMouseMove(HWND window, int x, int y) {
    if (tip == nullptr)
        return;
    if (shown) {
        place(window, x, y);
        // Off a plot area the tip went: the next rest brings it back.
        if (!shown)
            watchMouse(window, TME_HOVER | TME_LEAVE);
    } else if (!watching) {
        watchMouse(window, TME_HOVER | TME_LEAVE);
    }
}

void readoutMouseHover(HWND window, int x, int y) {
    if (tip == nullptr)
        return;
    place(window, x, y);
    // The hover is reported once; the leave is still watched for. Off a plot
    // area the next rest is watched for again.
    watchMouse(window, shown ? TME_LEAVE : TME_HOVER | TME_LEAVE);
}

void readoutMouseLeave() {
    watching = false;
    if (tip != nullptr)
        hide();
}
