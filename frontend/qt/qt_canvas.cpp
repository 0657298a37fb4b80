// GDI's pixel rules on a QPainter: one-pixel lines without their end pixel
// (every pen of the charts is one pixel wide), null-pen rectangles one pixel short on the right and
// bottom, and text cells of exactly the requested height, placed by TA_ flags.
#include "frontend/qt/qt_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

namespace {
constexpr unsigned TA_HORIZONTAL_MASK = 6;
constexpr unsigned TA_VERTICAL_MASK = 24;
constexpr unsigned TA_BASELINE = 24;

QPainter* painterOf(void* context) {
    return static_cast<QPainter*>(context);
}

} // namespace

const QtCellFont& qtCellFont(int cellHeight, int weight) {
    struct Known {
        int height;
        int weight;
        QtCellFont cell;
    };
    // A deque keeps the references handed out valid as it grows.
    static std::deque<Known> fonts;
    for (const Known& known : fonts)
        if (known.height == cellHeight && known.weight == weight)
            return known.cell;
    // The layout leaves room for faces as narrow as Windows' own sans serif:
    // wider ones (DejaVu Sans) make the time stamps run into the axis labels.
    // The first installed family is taken.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Weight(weight));
    const int height = cellHeight > 1 ? cellHeight : 1;
    // A first guess in proportion, then down a pixel at a time: paper cells
    // are hundreds of pixels high.
    font.setPixelSize(height);
    const QFontMetrics full(font);
    int pixelSize =
        std::clamp(height * height / std::max(1, full.ascent() + full.descent()) + 2, 1, height);
    for (;;) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font);
        if (pixelSize == 1 || metrics.ascent() + metrics.descent() <= height)
            break;
        --pixelSize;
    }
    fonts.push_back({cellHeight, weight, {font, QFontMetrics(font).ascent()}});
    return fonts.back().cell;
}

QPointF qtTextCellOrigin(double x, double y, double width, double cellHeight, double ascent,
                         unsigned align) {
    double left = x;
    // Whole pixels are split as GDI splits them: an odd width leans right.
    if ((align & TA_HORIZONTAL_MASK) == TA_CENTER)
        left = x - std::floor(width / 2);
    else if ((align & TA_HORIZONTAL_MASK) == TA_RIGHT)
        left = x - width;
    double top = y;
    if ((align & TA_VERTICAL_MASK) == TA_BASELINE)
        top = y - ascent;
    else if ((align & TA_VERTICAL_MASK) == TA_BOTTOM)
        top = y - cellHeight;
    return QPointF(left, top);
}

namespace {

// Qt leaves out the pixel at the far end of a line in its own direction, not
// necessarily at the line's end, so lines are rasterised here: one pixel per
// step along the major axis from the start, the end excluded, the minor
// coordinate rounded (halves away from the start). Runs of pixels in one row
// or column are filled as rectangles.
void drawLine(void* context, int x1, int y1, int x2, int y2, const PenDesc* pen) {
    if (pen->style == PEN_NULL || (x1 == x2 && y1 == y2))
        return;
    QPainter* painter = painterOf(context);
    const QColor colour = qtColour(pen->colour);
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    const int major0 = steep ? y1 : x1;
    const int minor0 = steep ? x1 : y1;
    const int majorDelta = steep ? y2 - y1 : x2 - x1;
    const int minorDelta = steep ? x2 - x1 : y2 - y1;
    const int majorStep = majorDelta > 0 ? 1 : -1;
    const int minorStep = minorDelta > 0 ? 1 : -1;
    const int64_t majorLength = std::abs(majorDelta);
    const int64_t minorLength = std::abs(minorDelta);
    auto minorAt = [&](int64_t i) {
        return minor0 + minorStep * int((2 * i * minorLength + majorLength) / (2 * majorLength));
    };
    auto fillRun = [&](int64_t first, int64_t last, int minor) {
        const int a = major0 + majorStep * int(first);
        const int b = major0 + majorStep * int(last);
        const int low = std::min(a, b);
        const int length = std::abs(b - a) + 1;
        if (steep)
            painter->fillRect(minor, low, 1, length, colour);
        else
            painter->fillRect(low, minor, length, 1, colour);
    };
    int64_t runStart = 0;
    int runMinor = minorAt(0);
    for (int64_t i = 1; i < majorLength; ++i) {
        const int minor = minorAt(i);
        if (minor != runMinor) {
            fillRun(runStart, i - 1, runMinor);
            runStart = i;
            runMinor = minor;
        }
    }
    fillRun(runStart, majorLength - 1, runMinor);
}

void drawRectangle(void* context, int left, int top, int right, int bottom, const PenDesc* pen,
                   const BrushDesc* brush) {
    QPainter* painter = painterOf(context);
    if (pen->style == PEN_NULL) {
        painter->fillRect(left, top, right - left - 1, bottom - top - 1, qtColour(brush->colour));
        return;
    }
    painter->fillRect(left, top, right - left, bottom - top, qtColour(brush->colour));
    painter->setPen(QPen(qtColour(pen->colour), pen->width, Qt::SolidLine, Qt::SquareCap));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(left, top, right - left - 1, bottom - top - 1);
}

void drawText(void* context, int x, int y, const char* text, const FontDesc* font, unsigned align,
              uint32_t textColour, uint32_t background, bool opaque) {
    QPainter* painter = painterOf(context);
    const QtCellFont& cell = qtCellFont(font->height, font->weight);
    const QString string = QString::fromUtf8(text);
    const int width = QFontMetrics(cell.font).horizontalAdvance(string);
    const QPointF origin = qtTextCellOrigin(x, y, width, font->height, cell.ascent, align);
    const int left = int(origin.x());
    const int top = int(origin.y());
    if (opaque)
        painter->fillRect(left, top, width, font->height, qtColour(background));
    painter->setFont(cell.font);
    painter->setPen(qtColour(textColour));
    painter->drawText(left, top + cell.ascent, string);
}
} // namespace

QColor qtColour(uint32_t colour) {
    return QColor(int(colour & 0xff), int((colour >> 8) & 0xff), int((colour >> 16) & 0xff));
}

void qtCanvasInit(Canvas* canvas, QPainter* painter) {
    painter->setRenderHint(QPainter::Antialiasing, false);
    canvasInit(canvas, CanvasBackend{painter, drawLine, drawRectangle, drawText});
}
