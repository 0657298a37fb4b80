// The printing and screen layers for tests. The printer records its calls in
// the scripted front end's list and draws on a recording canvas; any step can
// be made to fail. The screen hands out a picture of a format the test sets.
#pragma once
#include <string>
#include <vector>

#include "tests/support/recording_canvas.h"
#include "ui/printer.h"
#include "ui/screen_capture.h"

struct ScriptedPrinter {
    int chooseError = 0;     // what getPrinterDC returns
    bool chosen = true;      // false: the user cancels the dialog
    std::string failingStep; // "startDocument", "startPage", "endPage" or "endDocument"
    int failure = 0;         // the number that step returns
    Recording page;
};

struct ScriptedScreen {
    bool available = true; // false: nothing can be captured
    BitmapFormat format = {3, 2, 1, 24};
    bool bitsReadable = true;
};

extern ScriptedPrinter scriptedPrinter;
extern ScriptedScreen scriptedScreen;

// Both layers back to their defaults.
void scriptedHardcopyReset();
