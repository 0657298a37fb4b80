// The pens, brush and fonts of the two charts, on screen and on paper. They
// are plain descriptions; a canvas backend turns them into its own objects.
#pragma once
#include "ui/canvas.h"

extern FontDesc labelFont; // time labels on screen, the no-data text
extern FontDesc smallFont; // time labels on paper
extern FontDesc axisFont;  // axis labels
extern BrushDesc cursorBrush;
extern PenDesc curvePen;
extern PenDesc markerPen;
extern PenDesc axisPen;
extern PenDesc nullPen; // outline-free filled rectangles

// At window creation, before the first paint.
void createDrawingObjects();
// At window destruction: the objects go back to their empty state.
void deleteDrawingObjects();
