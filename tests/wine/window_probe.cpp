// What the Windows side shows, for the tests that drive korvex.exe under
// Wine from outside.
//
//   window_probe           the display's depth, then one line per visible
//                          top-level window: class, title, client size, its
//                          origin on the screen, its owner's title and the
//                          texts of its static controls (a message box's
//                          message)
//   window_probe TITLE     the dialog of that title: its default button, then
//                          one line per control: id, class, style, rectangle
//                          on the screen, text, and a button's check or an
//                          up-down control's range, position and buddy
#include <windows.h>

#include <commctrl.h>
#include <cstdio>
#include <string>

#include "platform/win32/text_win32.h"

namespace {

std::string textOf(HWND window, bool className = false) {
    wchar_t text[512] = L"";
    className ? GetClassNameW(window, text, 512) : GetWindowTextW(window, text, 512);
    return wideToUtf8(text);
}

BOOL CALLBACK noteStatic(HWND child, LPARAM texts) {
    if (textOf(child, true) == "Static")
        *reinterpret_cast<std::string*>(texts) += "|" + textOf(child);
    return TRUE;
}

BOOL CALLBACK printWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window))
        return TRUE;
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HWND owner = GetWindow(window, GW_OWNER);
    std::string texts;
    EnumChildWindows(window, noteStatic, reinterpret_cast<LPARAM>(&texts));
    std::printf("%s|%s|%ldx%ld|%ld,%ld|%s%s\n", textOf(window, true).c_str(),
                textOf(window).c_str(), client.right, client.bottom, origin.x, origin.y,
                owner != nullptr ? textOf(owner).c_str() : "", texts.c_str());
    return TRUE;
}

// The messages asked of another process's controls carry no pointers, or,
// as WM_GETTEXT's, one the system carries across.
BOOL CALLBACK printControl(HWND control, LPARAM) {
    const std::string kind = textOf(control, true);
    RECT box;
    GetWindowRect(control, &box);
    std::string extra;
    if (kind == "Button") {
        extra = "checked=" + std::to_string(SendMessageW(control, BM_GETCHECK, 0, 0));
    } else if (kind == UPDOWN_CLASSA) {
        const LRESULT range = SendMessageW(control, UDM_GETRANGE, 0, 0);
        const HWND buddy = reinterpret_cast<HWND>(SendMessageW(control, UDM_GETBUDDY, 0, 0));
        extra = "range=" + std::to_string(HIWORD(range)) + ".." + std::to_string(LOWORD(range)) +
                " pos=" + std::to_string(LOWORD(SendMessageW(control, UDM_GETPOS, 0, 0))) +
                " buddy=" + std::to_string(GetDlgCtrlID(buddy));
    }
    wchar_t text[512] = L"";
    SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    std::printf("%d|%s|%08lx|%ld,%ld,%ld,%ld|%s|%s\n", GetDlgCtrlID(control), kind.c_str(),
                static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)), box.left, box.top,
                box.right, box.bottom, wideToUtf8(text).c_str(), extra.c_str());
    return TRUE;
}

struct Search {
    std::string title;
    HWND found;
};

// The topmost visible window of the title: a closed dialog can linger hidden.
BOOL CALLBACK noteTitled(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<Search*>(search);
    if (!IsWindowVisible(window) || textOf(window) != wanted->title)
        return TRUE;
    wanted->found = window;
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        Search search{argv[1], nullptr};
        EnumWindows(noteTitled, reinterpret_cast<LPARAM>(&search));
        HWND dialog = search.found;
        if (dialog == nullptr)
            return 1;
        std::printf("default %d\n", LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)));
        EnumChildWindows(dialog, printControl, 0);
        return 0;
    }
    HDC screen = GetDC(nullptr);
    std::printf("display bits %d\n", GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    EnumWindows(printWindow, 0);
    return 0;
}
