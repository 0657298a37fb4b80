// What the charts are drawn through. The core keeps the device-context state
// (selected pen, brush, font, alignment, text background, current position)
// with GDI's semantics; a backend only carries out three stateless primitives.
// The screen, the printer and the tests are three backends.
#pragma once
#include <cstdint>

// A colour as GDI keeps it: red in the low byte.
constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

enum PenStyle { PEN_SOLID, PEN_NULL };
struct PenDesc {
    PenStyle style;
    int width;
    uint32_t colour; // rgb()
};
struct BrushDesc {
    uint32_t colour;
};
struct FontDesc {
    int height; // cell height in logical units
    int weight;
};

// Text alignment, GDI values
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;

struct CanvasBackend {
    void* context;
    // A line from (x1, y1) to (x2, y2), leaving out the end pixel as LineTo does.
    void (*line)(void* context, int x1, int y1, int x2, int y2, const PenDesc* pen);
    // Rectangle(left, top, right, bottom) after ordering the corners: with a null
    // pen it fills left..right-2 by top..bottom-2 with the brush.
    void (*rectangle)(void* context, int left, int top, int right, int bottom, const PenDesc* pen,
                      const BrushDesc* brush);
    // text is UTF-8; (x, y) is the reference point chosen by align. The cell is
    // painted in background when opaque.
    void (*text)(void* context, int x, int y, const char* text, const FontDesc* font,
                 unsigned align, uint32_t textColour, uint32_t background, bool opaque);
};

struct Canvas {
    CanvasBackend backend;
    const PenDesc* pen;
    const BrushDesc* brush;
    const FontDesc* font;
    unsigned textAlign;
    uint32_t textColour;
    uint32_t textBackground;
    bool opaqueText;
    int currentX;
    int currentY;
};

// A canvas in a device context's default state: black pen, white brush,
// black text on an opaque white background, left/top alignment.
void canvasInit(Canvas* canvas, const CanvasBackend& backend);
const PenDesc* canvasSelectPen(Canvas* canvas, const PenDesc* pen);
const BrushDesc* canvasSelectBrush(Canvas* canvas, const BrushDesc* brush);
const FontDesc* canvasSelectFont(Canvas* canvas, const FontDesc* font);
unsigned canvasSetTextAlign(Canvas* canvas, unsigned align);
uint32_t canvasSetTextBackground(Canvas* canvas, uint32_t colour);
void canvasMoveTo(Canvas* canvas, int x, int y);
void canvasLineTo(Canvas* canvas, int x, int y);
void canvasRectangle(Canvas* canvas, int left, int top, int right, int bottom);
void canvasTextOut(Canvas* canvas, int x, int y, const char* text);
