#include "tests/support/recording_canvas.h"

#include <cstring>

namespace {
// A zeroed record at the end of the recording, filled in place.
RecordedCall& newCall(void* context, RecordedKind kind) {
    RecordedCall& call = static_cast<Recording*>(context)->calls.emplace_back();
    call.kind = kind;
    return call;
}

void recordLine(void* context, int x1, int y1, int x2, int y2, const PenDesc* pen) {
    RecordedCall& call = newCall(context, RECORDED_LINE);
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.pen = *pen;
}

void recordRectangle(void* context, int left, int top, int right, int bottom, const PenDesc* pen,
                     const BrushDesc* brush) {
    RecordedCall& call = newCall(context, RECORDED_RECTANGLE);
    call.x1 = left;
    call.y1 = top;
    call.x2 = right;
    call.y2 = bottom;
    call.pen = *pen;
    call.brush = *brush;
}

void recordText(void* context, int x, int y, const char* text, const FontDesc* font, unsigned align,
                uint32_t textColour, uint32_t background, bool opaque) {
    RecordedCall& call = newCall(context, RECORDED_TEXT);
    call.x1 = x;
    call.y1 = y;
    call.font = *font;
    call.align = align;
    call.textColour = textColour;
    call.background = background;
    call.opaque = opaque;
    std::strncpy(call.text, text, sizeof call.text - 1);
}
} // namespace

void recordingCanvasInit(Canvas* canvas, Recording* recording) {
    canvasInit(canvas, CanvasBackend{recording, recordLine, recordRectangle, recordText});
}
