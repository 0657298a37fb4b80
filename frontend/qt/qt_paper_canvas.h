// A canvas backend for paper: the charts' logical coordinates scaled onto the
// device pixels of a printer or a PDF page, drawn as vectors and outline
// fonts, never through the screen backend's pixel rules.
#pragma once
#include "ui/canvas.h"

class QPainter;

struct PaperCanvasContext {
    QPainter* painter;
    double scaleX; // device pixels per logical unit, across
    double scaleY; // and down
};

// canvas starts in a device context's default state and draws through
// context, which must outlive it.
void qtPaperCanvasInit(Canvas* canvas, PaperCanvasContext* context);
