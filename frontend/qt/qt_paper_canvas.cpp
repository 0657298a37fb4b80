// Paper follows a mapped device context: positions and pen widths scale with
// the page, each direction by its own factor, while a font's cell height
// follows the vertical factor only, so glyphs keep their shape on a page
// stretched sideways. On a page stretched upwards (portrait) glyphs of that
// height would be wider than the layout leaves room for and run off the
// paper; there they are narrowed to the horizontal factor.
#include "frontend/qt/qt_paper_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "frontend/qt/qt_canvas.h"

namespace {

PaperCanvasContext* paperOf(void* context) {
    return static_cast<PaperCanvasContext*>(context);
}

QPointF onPage(const PaperCanvasContext* paper, int x, int y) {
    return QPointF(x * paper->scaleX, y * paper->scaleY);
}

// A pen's width is a logical length like any other. Round ends and joins, as
// a wide pen has on a printer, close the gaps between the curve's segments.
QPen pagePen(const PaperCanvasContext* paper, const PenDesc* pen) {
    return QPen(qtColour(pen->colour), pen->width * paper->scaleX, Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin);
}

void drawLine(void* context, int x1, int y1, int x2, int y2, const PenDesc* pen) {
    if (pen->style == PEN_NULL)
        return;
    PaperCanvasContext* paper = paperOf(context);
    paper->painter->setPen(pagePen(paper, pen));
    paper->painter->drawLine(onPage(paper, x1, y1), onPage(paper, x2, y2));
}

void drawRectangle(void* context, int left, int top, int right, int bottom, const PenDesc* pen,
                   const BrushDesc* brush) {
    PaperCanvasContext* paper = paperOf(context);
    const QRectF box(onPage(paper, left, top), onPage(paper, right, bottom));
    if (pen->style == PEN_NULL) {
        // Without an outline the fill stops a device pixel short on the
        // right and at the bottom.
        paper->painter->fillRect(box.adjusted(0, 0, -1, -1), qtColour(brush->colour));
        return;
    }
    paper->painter->setPen(pagePen(paper, pen));
    paper->painter->setBrush(qtColour(brush->colour));
    paper->painter->drawRect(box);
}

void drawText(void* context, int x, int y, const char* text, const FontDesc* font, unsigned align,
              uint32_t textColour, uint32_t background, bool opaque) {
    PaperCanvasContext* paper = paperOf(context);
    const int cellHeight = std::max(1, int(std::lround(font->height * paper->scaleY)));
    const QtCellFont& cell = qtCellFont(cellHeight, font->weight);
    const QString string = QString::fromUtf8(text);
    const double narrowing = std::min(1.0, paper->scaleX / paper->scaleY);
    const double width = QFontMetricsF(cell.font).horizontalAdvance(string) * narrowing;
    const QPointF origin = qtTextCellOrigin(x * paper->scaleX, y * paper->scaleY, width, cellHeight,
                                            cell.ascent, align);
    if (opaque)
        paper->painter->fillRect(QRectF(origin, QSizeF(width, cellHeight)), qtColour(background));
    paper->painter->save();
    paper->painter->translate(origin + QPointF(0, cell.ascent));
    paper->painter->scale(narrowing, 1.0);
    paper->painter->setFont(cell.font);
    paper->painter->setPen(qtColour(textColour));
    paper->painter->drawText(QPointF(0, 0), string);
    paper->painter->restore();
}

} // namespace

void qtPaperCanvasInit(Canvas* canvas, PaperCanvasContext* context) {
    context->painter->setRenderHint(QPainter::Antialiasing, true);
    canvasInit(canvas, CanvasBackend{context, drawLine, drawRectangle, drawText});
}
