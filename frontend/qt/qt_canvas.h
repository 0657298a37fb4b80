// A canvas backend on a QPainter: the main window's chart widget paints
// through it, and so can anything that paints the charts into a QImage.
#pragma once
#include "ui/canvas.h"

#include <QColor>
#include <QFont>
#include <QPointF>

class QPainter;

// A colour made by rgb() as Qt's.
QColor qtColour(uint32_t colour);

// canvas starts in a device context's default state and draws with painter,
// which must outlive it.
void qtCanvasInit(Canvas* canvas, QPainter* painter);

// A proportional sans face whose ascent plus descent is at most cellHeight
// pixels of the device it is drawn on, as GDI maps a positive lfHeight.
struct QtCellFont {
    QFont font;
    int ascent;
};
const QtCellFont& qtCellFont(int cellHeight, int weight);

// The top left corner of a text cell whose reference point (x, y) is placed
// by GDI's TA_ flags.
QPointF qtTextCellOrigin(double x, double y, double width, double cellHeight, double ascent,
                         unsigned align);
