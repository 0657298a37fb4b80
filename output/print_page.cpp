// The printed page: the charts of the screen drawn again through the printing
// layer's canvas, with the window's client area mapped onto the printable
// area, white paper in the plot areas and the labels placed for paper.
#include <cstdio>

#include "base/texts.h"
#include "data/sample_store.h"
#include "output/printing.h"
#include "platform/clock.h"
#include "platform/locale_time.h"
#include "res/program_names.h"
#include "res/text_table.h"
#include "view/chart_drawing.h"
#include "view/window_layout.h"

namespace {
constexpr int FONT_WEIGHT_NORMAL = 400;
constexpr int FONT_WEIGHT_BOLD = 700;
// The band stops two units above the main baseline on paper (531 on screen).
constexpr int PAPER_BAND_BOTTOM = 529;
// A regional date or time in UTF-8: 64 characters of up to 3 bytes.
constexpr size_t REGIONAL_TEXT_SIZE = 3 * 64;

struct PaperLabel {
    int captionId;
    int x;
    int y;
};

void drawPaperLabel(Canvas* canvas, const PaperLabel& label, int64_t recordIndex) {
    char caption[TEXT_UTF8_SIZE];
    loadTextUtf8(caption, label.captionId);
    drawTimeLabelForPrint(canvas, caption, timeLabelRecord(recordIndex), label.x, label.y);
}
} // namespace

void printHeader(Canvas* canvas) {
    const FontDesc titleFont = {15, FONT_WEIGHT_BOLD};
    const FontDesc dateFont = {10, FONT_WEIGHT_NORMAL};
    const FontDesc* previousFont = canvasSelectFont(canvas, &titleFont);
    const unsigned previousAlign = canvasSetTextAlign(canvas, TA_LEFT | TA_BOTTOM);
    char title[TEXT_UTF8_SIZE];
    loadTextUtf8(title, TEXT_PROGRAM_TITLE);
    canvasTextOut(canvas, 10, 20, title);
    canvasSelectFont(canvas, previousFont);

    canvasSelectFont(canvas, &dateFont);
    SystemTime now;
    getLocalTime(&now);
    char date[REGIONAL_TEXT_SIZE];
    char time[REGIONAL_TEXT_SIZE];
    formatLongDate(now, date, sizeof date);
    formatTimeNoSeconds(now, time, sizeof time);
    char line[2 * REGIONAL_TEXT_SIZE + 2];
    std::snprintf(line, sizeof line, "%s, %s", date, time);
    canvasSetTextAlign(canvas, TA_RIGHT | TA_BOTTOM);
    canvasTextOut(canvas, 790, 20, line);

    canvasSetTextAlign(canvas, previousAlign);
    canvasSelectFont(canvas, previousFont);
}

int printCharts(PrintJob* job, uint32_t mainStart, uint32_t zoomStart, uint16_t cursorX,
                int32_t samplesPerPixel) {
    int err = printerStartDocument(job, APP_TITLE);
    if (err == 0)
        err = printerStartPage(job);
    if (err != 0)
        return err;
    int pageWidth = 0;
    int pageHeight = 0;
    printerPageSize(job, &pageWidth, &pageHeight);
    printerSetMapping(job, CLIENT_WIDTH, CLIENT_HEIGHT, pageWidth, pageHeight);
    Canvas canvas;
    printerCanvasInit(job, &canvas);

    printHeader(&canvas);
    drawAxesForPrint(&canvas, CHART_LEFT, MAIN_BASELINE);
    drawAxesForPrint(&canvas, CHART_LEFT, ZOOM_BASELINE);
    drawCursorBand(&canvas, cursorX, PAPER_BAND_BOTTOM);
    const int32_t mainEnd =
        drawCurve(&canvas, MAIN_BASELINE, int32_t(mainStart), float(samplesPerPixel));
    const int32_t zoomEnd =
        drawCurve(&canvas, ZOOM_BASELINE, int32_t(zoomStart), zoomStep(samplesPerPixel));
    drawPaperLabel(&canvas, {TEXT_START_CAPTION, 10, 380}, mainStart);
    drawPaperLabel(&canvas, {TEXT_START_CAPTION, 10, 100}, zoomStart);
    drawPaperLabel(&canvas, {TEXT_END_CAPTION, 10, 480}, mainEnd);
    drawPaperLabel(&canvas, {TEXT_END_CAPTION, 10, 200}, zoomEnd);

    err = printerEndPage(job);
    if (err != 0)
        return err;
    // A document that never reaches the printer or its file is a failure too.
    return printerEndDocument(job);
}
