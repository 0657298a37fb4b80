// The headless front end of korvex-fetch: messages go to standard error, the
// acquisition and file dialogs are answered from the command line, progress
// is drawn on standard error, and posted commands wait for the fetch loop.
#pragma once

struct FetchAnswers {
    int span;           // answers the acquisition dialog
    const char* output; // answers the save dialog
    bool drawBar;       // standard error is a terminal: a bar redrawn in place
};
extern FetchAnswers fetchAnswers;

// What the core asked of the front end so far.
struct FetchOutcome {
    bool messageShown;   // every message box of this program reports a failure
    bool spanRefused;    // the device's interval does not offer the span asked for
    bool progressShown;  // a reception has started
    char savedPath[256]; // the name the save dialog answered with
};
extern FetchOutcome fetchOutcome;

// The oldest posted command; false when none waits.
bool takePostedCommand(int* commandId);
// Ends a progress bar line before other output follows it.
void finishProgressLine();
