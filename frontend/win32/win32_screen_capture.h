// What the native screen layer holds of a capture, open to the tests, which
// hand it bitmaps of depths no display has.
#pragma once
#include "ui/screen_capture.h"

#include "frontend/win32/win32_window.h"

// The captured bitmap, selected into no device context, and the memory
// context GetDIBits reads it through; released with the display context, if
// any, by screenCaptureRelease.
struct ScreenCapture {
    HDC display;
    HDC memory;
    HBITMAP bitmap;
};
