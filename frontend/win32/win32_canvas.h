// The charts' canvas on a GDI device context.
#pragma once
#include "ui/canvas.h"

#include "frontend/win32/win32_window.h"

// A canvas that draws on dc until the paint ends.
void win32CanvasInit(Canvas* canvas, HDC dc);
// A canvas on a printer's mapped device context, until the page ends. Its
// glyphs scale with the vertical factor only, keeping their shape, or with
// both factors where glyphsScaleAcross.
void win32PaperCanvasInit(Canvas* canvas, HDC dc, bool glyphsScaleAcross);
// Lets go of the pens, brushes and fonts the canvas made, when the window goes.
void win32CanvasRelease();
