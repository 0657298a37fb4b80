// The screen layer: a picture of the main window as the display shows it.
// Each program links one implementation: the Qt one reads the X11 screen (or,
// where the display cannot be read, the window's own rendering), the native
// Windows one blits from the display's device context, the tests' one hands
// out a picture the test sets.
#pragma once
#include <cstdint>

// A captured picture, held by the layer.
struct ScreenCapture;

// What the captured bitmap says of itself, as a BITMAP record does.
struct BitmapFormat {
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitsPerPixel;
};

// Takes the main window's outer rectangle (frame, caption, menu bar and
// client area, and whatever covers them) from the display, in the display's
// own depth; what lies off the screen is black. Null when nothing could be
// taken.
ScreenCapture* screenCaptureMainWindow();
// The captured bitmap's format; false when it cannot be read.
bool screenCaptureFormat(const ScreenCapture* capture, BitmapFormat* format);
// As GetDIBits: fills pixels with the rows in the bits per pixel that the
// description block (a BITMAPINFO image) asks for, bottom row first, each
// padded to 4 bytes, and for up to 8 bits per pixel the block's colour table
// with the palette. Like GetDIBits it may rewrite the block's info header.
// Returns the rows copied, 0 on failure.
int screenCaptureBits(const ScreenCapture* capture, uint8_t* descriptionBlock, uint8_t* pixels);
void screenCaptureRelease(ScreenCapture* capture);
