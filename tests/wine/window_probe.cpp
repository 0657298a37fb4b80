// What the Windows side shows, for the tests that drive korvex.exe under
// Wine from outside: the display's depth, then one line per visible
// top-level window with its class, title, client size and origin on the
// screen, and the texts of its static controls (a message box's message).
#include <windows.h>

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
    std::string texts;
    EnumChildWindows(window, noteStatic, reinterpret_cast<LPARAM>(&texts));
    std::printf("%s|%s|%ldx%ld|%ld,%ld%s\n", textOf(window, true).c_str(), textOf(window).c_str(),
                client.right, client.bottom, origin.x, origin.y, texts.c_str());
    return TRUE;
}

} // namespace

int main() {
    HDC screen = GetDC(nullptr);
    std::printf("display bits %d\n", GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    EnumWindows(printWindow, 0);
    return 0;
}
