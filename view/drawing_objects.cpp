#include "view/drawing_objects.h"

#include "ui/canvas.h"

namespace {
constexpr int FONT_WEIGHT_NORMAL = 400;
}

FontDesc labelFont;
FontDesc smallFont;
FontDesc axisFont;
BrushDesc cursorBrush;
PenDesc curvePen;
PenDesc markerPen;
PenDesc axisPen;
PenDesc nullPen;

void createDrawingObjects() {
    labelFont = {15, FONT_WEIGHT_NORMAL};
    smallFont = {10, FONT_WEIGHT_NORMAL};
    axisFont = {15, FONT_WEIGHT_NORMAL};
    cursorBrush = {rgb(220, 210, 195)};
    curvePen = {PEN_SOLID, 1, rgb(0, 0, 255)};
    markerPen = {PEN_SOLID, 1, rgb(255, 0, 0)};
    axisPen = {PEN_SOLID, 1, rgb(0, 0, 0)};
    // The colour of a null pen is never seen.
    nullPen = {PEN_NULL, 1, rgb(255, 255, 255)};
}

void deleteDrawingObjects() {
    labelFont = {};
    smallFont = {};
    axisFont = {};
    cursorBrush = {};
    curvePen = {};
    markerPen = {};
    axisPen = {};
    nullPen = {};
}
