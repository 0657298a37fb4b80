// The program's picture for the About box, built from its data at run time.
#include "res/about_picture.h"

#include "frontend/win32/win32_window.h"

namespace {

// A top-down 8-bit bitmap with the picture's 16 colours.
struct PictureDib {
    BITMAPINFOHEADER header;
    RGBQUAD palette[ABOUT_PICTURE_COLOURS];
};

} // namespace

HBITMAP createPictureBitmap() {
    PictureDib dib{};
    dib.header.biSize = sizeof dib.header;
    dib.header.biWidth = ABOUT_PICTURE_SIZE;
    dib.header.biHeight = -ABOUT_PICTURE_SIZE;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 8;
    dib.header.biCompression = BI_RGB;
    dib.header.biClrUsed = ABOUT_PICTURE_COLOURS;
    for (int i = 0; i < ABOUT_PICTURE_COLOURS; ++i) {
        uint32_t colour = aboutPicturePalette[i];
        dib.palette[i] = {BYTE(colour >> 16), BYTE(colour >> 8), BYTE(colour), 0};
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&dib), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    // Rows of 64 bytes need no padding to their four-byte boundary.
    for (int y = 0; y < ABOUT_PICTURE_SIZE; ++y)
        for (int x = 0; x < ABOUT_PICTURE_SIZE; ++x)
            static_cast<BYTE*>(bits)[y * ABOUT_PICTURE_SIZE + x] = aboutPicturePixel(x, y);
    GdiFlush();
    return bitmap;
}
