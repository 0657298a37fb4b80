#include "tests/support/scripted_hardcopy.h"

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

// The pixels stay as the writer's buffer has them.
int screenCaptureBits(const ScreenCapture*, uint8_t*, uint8_t*) {
    return scriptedScreen.bitsReadable ? scriptedScreen.format.height : 0;
}

void screenCaptureRelease(ScreenCapture* capture) {
    delete capture;
}
