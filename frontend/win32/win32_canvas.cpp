// The canvas primitives are GDI's own calls. Pens, brushes and fonts are made
// once for each description the charts use and kept until the window goes:
// a paint draws thousands of lines with a handful of pens.
#include "frontend/win32/win32_canvas.h"

#include <vector>

namespace {

struct CachedPen {
    PenDesc desc;
    HPEN pen;
};
struct CachedBrush {
    uint32_t colour;
    HBRUSH brush;
};
struct CachedFont {
    FontDesc desc;
    HFONT font;
};
// Where a canvas draws, and whether its glyphs follow the mapping's
// horizontal factor as well as its vertical one.
struct Surface {
    HDC dc;
    bool glyphsScaleAcross;
};
Surface screenSurface;
Surface paperSurface;
std::vector<CachedPen> pens;
std::vector<CachedBrush> brushes;
std::vector<CachedFont> fonts;

HDC dcOf(void* context) {
    return static_cast<Surface*>(context)->dc;
}

HPEN penFor(const PenDesc& desc) {
    for (const CachedPen& known : pens)
        if (known.desc.style == desc.style && known.desc.width == desc.width &&
            known.desc.colour == desc.colour)
            return known.pen;
    HPEN pen = CreatePen(desc.style == PEN_NULL ? PS_NULL : PS_SOLID, desc.width, desc.colour);
    pens.push_back({desc, pen});
    return pen;
}

HBRUSH brushFor(const BrushDesc& desc) {
    for (const CachedBrush& known : brushes)
        if (known.colour == desc.colour)
            return known.brush;
    HBRUSH brush = CreateSolidBrush(desc.colour);
    brushes.push_back({desc.colour, brush});
    return brush;
}

// The layout leaves room for faces as narrow as Arial, which every Windows
// has; where it is missing (Wine on a bare Linux) a nameless request would
// get a wider face that runs the time stamps into the axis labels, so the
// first installed of these is taken, else whatever the font mapper offers.
constexpr const wchar_t* CHART_FACES[] = {L"Arial", L"Liberation Sans", L"DejaVu Sans Condensed"};

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

const wchar_t* chartFace() {
    static const wchar_t* face = nullptr;
    if (face != nullptr)
        return face;
    face = L"";
    HDC screen = GetDC(nullptr);
    for (const wchar_t* candidate : CHART_FACES) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(wanted.lfFaceName, candidate, LF_FACESIZE);
        bool found = false;
        EnumFontFamiliesExW(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
        if (found) {
            face = candidate;
            break;
        }
    }
    ReleaseDC(nullptr, screen);
    return face;
}

// The charts' one font description: a proportional face of the given cell
// height.
HFONT fontFor(const FontDesc& desc) {
    for (const CachedFont& known : fonts)
        if (known.desc.height == desc.height && known.desc.weight == desc.weight)
            return known.font;
    HFONT font = CreateFontW(desc.height, 0, 0, 0, desc.weight, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_DONTCARE, chartFace());
    fonts.push_back({desc, font});
    return font;
}

void drawLine(void* context, int x1, int y1, int x2, int y2, const PenDesc* pen) {
    HDC dc = dcOf(context);
    HGDIOBJ previous = SelectObject(dc, penFor(*pen));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, previous);
}

void drawRectangle(void* context, int left, int top, int right, int bottom, const PenDesc* pen,
                   const BrushDesc* brush) {
    HDC dc = dcOf(context);
    HGDIOBJ previousPen = SelectObject(dc, penFor(*pen));
    HGDIOBJ previousBrush = SelectObject(dc, brushFor(*brush));
    Rectangle(dc, left, top, right, bottom);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
}

void drawText(void* context, int x, int y, const char* text, const FontDesc* font, unsigned align,
              uint32_t textColour, uint32_t background, bool opaque) {
    const Surface& surface = *static_cast<Surface*>(context);
    HDC dc = surface.dc;
    std::wstring wide = wideText(text);
    // In the compatible graphics mode a font keeps its shape and scales with
    // the vertical factor only; in the advanced one it follows the whole
    // mapping, both factors. (A font's own width, lfWidth, would do the same
    // but is not honoured by every printer driver.)
    const int previousGraphicsMode =
        SetGraphicsMode(dc, surface.glyphsScaleAcross ? GM_ADVANCED : GM_COMPATIBLE);
    HGDIOBJ previousFont = SelectObject(dc, fontFor(*font));
    UINT previousAlign = SetTextAlign(dc, align);
    COLORREF previousColour = SetTextColor(dc, textColour);
    COLORREF previousBackground = SetBkColor(dc, background);
    int previousMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    TextOutW(dc, x, y, wide.c_str(), int(wide.size()));
    SetBkMode(dc, previousMode);
    SetBkColor(dc, previousBackground);
    SetTextColor(dc, previousColour);
    SetTextAlign(dc, previousAlign);
    SelectObject(dc, previousFont);
    SetGraphicsMode(dc, previousGraphicsMode);
}

} // namespace

void win32CanvasInit(Canvas* canvas, HDC dc) {
    screenSurface = {dc, false};
    canvasInit(canvas, CanvasBackend{&screenSurface, drawLine, drawRectangle, drawText});
}

void win32PaperCanvasInit(Canvas* canvas, HDC dc, bool glyphsScaleAcross) {
    paperSurface = {dc, glyphsScaleAcross};
    canvasInit(canvas, CanvasBackend{&paperSurface, drawLine, drawRectangle, drawText});
}

void win32CanvasRelease() {
    for (const CachedPen& known : pens)
        DeleteObject(known.pen);
    for (const CachedBrush& known : brushes)
        DeleteObject(known.brush);
    for (const CachedFont& known : fonts)
        DeleteObject(known.font);
    pens.clear();
    brushes.clear();
    fonts.clear();
}
