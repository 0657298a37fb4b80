#include "tests/support/scripted_hardcopy.h"

#include "output/bmp_file.h"
#include "tests/support/scripted_frontend.h"

ScriptedPrinter scriptedPrinter;
ScriptedScreen scriptedScreen;

struct PrintJob {};

struct ScreenCapture {};

namespace {
int step(const char* name) {
    scripted.calls.push_back(std::string("printer|") + name);
    return scriptedPrinter.failingStep == name ? scriptedPrinter.failure : 0;
}
} // namespace

void scriptedHardcopyReset() {
    scriptedPrinter = ScriptedPrinter{};
    scriptedScreen = ScriptedScreen{};
}

int getPrinterDC(PrintJob** job) {
    scripted.calls.push_back("printer|choose");
    *job = scriptedPrinter.chooseError == 0 && scriptedPrinter.chosen ? new PrintJob : nullptr;
    return scriptedPrinter.chooseError;
}

void printerPageSize(const PrintJob*, int* width, int* height) {
    *width = 8000;
    *height = 5770;
}

void printerSetMapping(PrintJob*, int, int, int, int) {}

void printerCanvasInit(PrintJob*, Canvas* canvas) {
    recordingCanvasInit(canvas, &scriptedPrinter.page);
}

int printerStartDocument(PrintJob*, const char*) {
    return step("startDocument");
}

int printerStartPage(PrintJob*) {
    return step("startPage");
}

int printerEndPage(PrintJob*) {
    return step("endPage");
}

int printerEndDocument(PrintJob*) {
    return step("endDocument");
}

void printerRelease(PrintJob* job) {
    scripted.calls.push_back("printer|release");
    delete job;
}

ScreenCapture* screenCaptureMainWindow() {
    return scriptedScreen.available ? new ScreenCapture : nullptr;
}

bool screenCaptureFormat(const ScreenCapture*, BitmapFormat* format) {
    *format = scriptedScreen.format;
    return true;
}

// Every byte tells its own offset, so a misplaced row shows.
int screenCaptureBits(const ScreenCapture*, uint8_t*, uint8_t* pixels) {
    if (!scriptedScreen.bitsReadable)
        return 0;
    const uint64_t size =
        bmpRowSize(scriptedScreen.format.width, scriptedScreen.format.bitsPerPixel) *
        uint32_t(scriptedScreen.format.height);
    for (uint64_t i = 0; i < size; ++i)
        pixels[i] = uint8_t(i);
    return scriptedScreen.format.height;
}

void screenCaptureRelease(ScreenCapture* capture) {
    delete capture;
}
