// A canvas backend that records every primitive with the state it was drawn
// in, so tests can check the charts' exact geometry and styles.
#pragma once
#include <cstdint>
#include <vector>

#include "ui/canvas.h"

enum RecordedKind { RECORDED_LINE, RECORDED_RECTANGLE, RECORDED_TEXT };

struct RecordedCall {
    RecordedKind kind;
    // line: from (x1, y1) to (x2, y2); rectangle: left, top, right, bottom;
    // text: the reference point in x1, y1.
    int x1, y1, x2, y2;
    PenDesc pen;
    BrushDesc brush;
    FontDesc font;
    unsigned align;
    uint32_t textColour;
    uint32_t background;
    bool opaque;
    char text[96];
};

struct Recording {
    std::vector<RecordedCall> calls;
};

// canvas starts in a device context's default state and records into recording.
void recordingCanvasInit(Canvas* canvas, Recording* recording);
