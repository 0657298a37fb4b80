// A canvas backend on a QPainter: the main window's chart widget paints
// through it, and so can anything that paints the charts into a QImage.
#pragma once
#include "view/canvas.h"

#include <QColor>

class QPainter;

// A colour made by rgb() as Qt's.
QColor qtColour(uint32_t colour);

// canvas starts in a device context's default state and draws with painter,
// which must outlive it.
void qtCanvasInit(Canvas* canvas, QPainter* painter);
