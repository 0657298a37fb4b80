// The device-context state of a canvas, kept with GDI's rules so that every
// backend (screen, paper, test recorder) sees the same calls.
#include "ui/canvas.h"

#include <utility>

namespace {
// The stock objects a fresh device context starts with.
const PenDesc stockBlackPen = {PEN_SOLID, 1, rgb(0, 0, 0)};
const BrushDesc stockWhiteBrush = {rgb(255, 255, 255)};
const FontDesc stockSystemFont = {16, 700};
} // namespace

void canvasInit(Canvas* canvas, const CanvasBackend& backend) {
    canvas->backend = backend;
    canvas->pen = &stockBlackPen;
    canvas->brush = &stockWhiteBrush;
    canvas->font = &stockSystemFont;
    canvas->textAlign = TA_LEFT | TA_TOP;
    canvas->textColour = rgb(0, 0, 0);
    canvas->textBackground = rgb(255, 255, 255);
    canvas->opaqueText = true;
    canvas->currentX = 0;
    canvas->currentY = 0;
}

const PenDesc* canvasSelectPen(Canvas* canvas, const PenDesc* pen) {
    return std::exchange(canvas->pen, pen);
}

const BrushDesc* canvasSelectBrush(Canvas* canvas, const BrushDesc* brush) {
    return std::exchange(canvas->brush, brush);
}

const FontDesc* canvasSelectFont(Canvas* canvas, const FontDesc* font) {
    return std::exchange(canvas->font, font);
}

unsigned canvasSetTextAlign(Canvas* canvas, unsigned align) {
    return std::exchange(canvas->textAlign, align);
}

uint32_t canvasSetTextBackground(Canvas* canvas, uint32_t colour) {
    return std::exchange(canvas->textBackground, colour);
}

void canvasMoveTo(Canvas* canvas, int x, int y) {
    canvas->currentX = x;
    canvas->currentY = y;
}

void canvasLineTo(Canvas* canvas, int x, int y) {
    canvas->backend.line(canvas->backend.context, canvas->currentX, canvas->currentY, x, y,
                         canvas->pen);
    canvasMoveTo(canvas, x, y);
}

void canvasRectangle(Canvas* canvas, int left, int top, int right, int bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    canvas->backend.rectangle(canvas->backend.context, left, top, right, bottom, canvas->pen,
                              canvas->brush);
}

void canvasTextOut(Canvas* canvas, int x, int y, const char* text) {
    canvas->backend.text(canvas->backend.context, x, y, text, canvas->font, canvas->textAlign,
                         canvas->textColour, canvas->textBackground, canvas->opaqueText);
}
