// The screen layer: the main window's outer rectangle copied from the
// display's device context into a compatible bitmap, so the picture has the
// display's own depth and holds whatever covers the window.
#include "ui/screen_capture.h"

#include "frontend/win32/win32_screen_capture.h"

namespace {

// How long a closing menu is given to leave the screen, and the steps.
constexpr DWORD MENU_GONE_MS = 250;
constexpr DWORD MENU_GONE_STEP_MS = 10;

void release(ScreenCapture* capture) {
    if (capture->bitmap != nullptr)
        DeleteObject(capture->bitmap);
    if (capture->memory != nullptr)
        DeleteDC(capture->memory);
    if (capture->display != nullptr)
        DeleteDC(capture->display);
    delete capture;
}

// Only the part of the window on the screen is copied; the rest is black,
// not whatever a display driver returns for pixels it does not have.
void copyVisiblePart(ScreenCapture* capture, const RECT& outer) {
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) +
                             GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const int width = int(outer.right - outer.left);
    const int height = int(outer.bottom - outer.top);
    HGDIOBJ previous = SelectObject(capture->memory, capture->bitmap);
    PatBlt(capture->memory, 0, 0, width, height, BLACKNESS);
    RECT visible;
    if (IntersectRect(&visible, &outer, &screen))
        BitBlt(capture->memory, visible.left - outer.left, visible.top - outer.top,
               visible.right - visible.left, visible.bottom - visible.top, capture->display,
               visible.left, visible.top, SRCCOPY);
    // GetDIBits wants the bitmap out of every device context, and a bitmap
    // still selected into one cannot be deleted.
    SelectObject(capture->memory, previous);
}

// The menu that gave the command has only just been told to go: its fading
// item (Windows) or its window on the X server (Wine) can still be on the
// screen, and the window under it not yet painted again. Paints are let
// through for a moment before the screen is read, and nothing else.
void letTheMenuGo() {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, MENU_GONE_STEP_MS, QS_PAINT);
    } while (GetTickCount() - start < MENU_GONE_MS);
}

} // namespace

ScreenCapture* screenCaptureMainWindow() {
    letTheMenuGo();
    RECT outer;
    if (!GetWindowRect(win32Window.main, &outer))
        return nullptr;
    auto* capture = new ScreenCapture{};
    capture->display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (capture->display != nullptr)
        capture->memory = CreateCompatibleDC(capture->display);
    if (capture->memory != nullptr)
        capture->bitmap = CreateCompatibleBitmap(capture->display, int(outer.right - outer.left),
                                                 int(outer.bottom - outer.top));
    if (capture->bitmap == nullptr) {
        release(capture);
        return nullptr;
    }
    copyVisiblePart(capture, outer);
    return capture;
}

bool screenCaptureFormat(const ScreenCapture* capture, BitmapFormat* format) {
    BITMAP bitmap;
    if (GetObjectA(capture->bitmap, sizeof bitmap, &bitmap) == 0)
        return false;
    *format = {bitmap.bmWidth, bitmap.bmHeight, bitmap.bmPlanes, bitmap.bmBitsPixel};
    return true;
}

int screenCaptureBits(const ScreenCapture* capture, uint8_t* descriptionBlock, uint8_t* pixels) {
    auto* info = reinterpret_cast<BITMAPINFO*>(descriptionBlock);
    return GetDIBits(capture->memory, capture->bitmap, 0, UINT(info->bmiHeader.biHeight), pixels,
                     info, DIB_RGB_COLORS);
}

void screenCaptureRelease(ScreenCapture* capture) {
    if (capture != nullptr)
        release(capture);
}
