// The screen layer on Qt. On X11 the window's outer rectangle is read from
// the root window, so the picture holds the frame, the menu bar and whatever
// covers the window, as the screen shows them. A display that lets no program
// read it (a Wayland session) gets the window's own rendering instead.
#include "frontend/qt/qt_screen_capture.h"

#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "frontend/qt/qt_main_window.h"
#include "output/bmp_file.h"

struct ScreenCapture {
    QImage picture; // RGB32, the window's outer size
    int depth;      // the display's bits per pixel
};

namespace {

// The display's pixels under outer; black where outer leaves the screen.
// Null when the display cannot be read.
QImage grabFromDisplay(QScreen* screen, const QRect& outer) {
    const QRect visible = outer & screen->virtualGeometry();
    QImage picture(outer.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (visible.isEmpty())
        return picture;
    const QPixmap shown =
        screen->grabWindow(0, visible.x(), visible.y(), visible.width(), visible.height());
    if (shown.isNull())
        return QImage();
    QPainter painter(&picture);
    painter.drawPixmap(visible.topLeft() - outer.topLeft(), shown);
    return picture;
}

// The 16 colours of a 4-bit display.
const QList<QRgb> FOUR_BIT_PALETTE = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

// The picture in the pixel format of a DIB of bits per pixel; 4 bits come
// as 8-bit indices and are packed while copying.
QImage inDibFormat(const QImage& picture, int bits) {
    constexpr auto exact = Qt::ThresholdDither | Qt::AvoidDither;
    switch (bits) {
    case 1:
        return picture.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)},
                                       exact);
    case 4:
        return picture.convertToFormat(QImage::Format_Indexed8, FOUR_BIT_PALETTE, exact);
    case 8:
        return picture.convertToFormat(QImage::Format_Indexed8, exact);
    case 16: // BI_RGB at 16 bits is 5-5-5
        return picture.convertToFormat(QImage::Format_RGB555);
    case 24: // blue, green, red
        return picture.convertToFormat(QImage::Format_BGR888);
    case 32:
        return picture.convertToFormat(QImage::Format_RGB32);
    default:
        return QImage();
    }
}

void copyRow(const uchar* from, uint8_t* to, int width, int bits) {
    if (bits == 4) {
        for (int x = 0; x < width; ++x)
            to[x / 2] = uint8_t(x % 2 == 0 ? from[x] << 4 : (to[x / 2] & 0xf0) | (from[x] & 0x0f));
        return;
    }
    std::memcpy(to, from, (size_t(width) * size_t(bits) + 7) / 8);
    // The fourth byte of a 32-bit pixel is unused, as the display leaves it.
    if (bits == 32)
        for (int x = 0; x < width; ++x)
            to[4 * x + 3] = 0;
}

} // namespace

ScreenCapture* qtScreenCaptureOf(const QImage& picture, int depth) {
    return new ScreenCapture{picture.convertToFormat(QImage::Format_RGB32), depth};
}

ScreenCapture* screenCaptureMainWindow() {
    QtMainWindow* window = qtMainWindow();
    if (window == nullptr)
        return nullptr;
    // The menu that gave the command has just closed; the window is painted
    // again where it stood before the screen is read, as a menu's saved
    // pixels are put back on Windows.
    window->repaint();
    QScreen* screen = window->screen();
    QImage picture = grabFromDisplay(screen, window->frameGeometry());
    if (picture.isNull())
        picture = window->grab().toImage();
    if (picture.isNull())
        return nullptr;
    return qtScreenCaptureOf(picture, screen->depth());
}

bool screenCaptureFormat(const ScreenCapture* capture, BitmapFormat* format) {
    if (capture == nullptr || capture->depth < 1 || capture->depth > 32)
        return false;
    *format = {capture->picture.width(), capture->picture.height(), 1, uint16_t(capture->depth)};
    return true;
}

int screenCaptureBits(const ScreenCapture* capture, uint8_t* block, uint8_t* pixels) {
    BitmapInfoHeader header;
    decodeBitmapInfoHeader(block, &header);
    const QImage& picture = capture->picture;
    if (header.width != picture.width() || header.height != picture.height())
        return 0;
    const QImage rows = inDibFormat(picture, header.bitCount);
    if (rows.isNull())
        return 0;
    const uint64_t rowSize = bmpRowSize(header.width, header.bitCount);
    for (int y = 0; y < header.height; ++y)
        copyRow(rows.constScanLine(y), pixels + rowSize * uint64_t(header.height - 1 - y),
                header.width, header.bitCount);
    const QList<QRgb> palette = rows.colorTable();
    const int entries = std::min<int>(int(palette.size()), int(header.clrUsed));
    for (int i = 0; i < entries && header.bitCount <= 8; ++i) {
        uint8_t* entry = block + BMP_INFO_HEADER_SIZE + 4 * i;
        entry[0] = uint8_t(qBlue(palette[i]));
        entry[1] = uint8_t(qGreen(palette[i]));
        entry[2] = uint8_t(qRed(palette[i]));
        entry[3] = 0;
    }
    return header.height;
}

void screenCaptureRelease(ScreenCapture* capture) {
    delete capture;
}
