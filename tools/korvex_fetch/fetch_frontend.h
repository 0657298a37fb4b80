// The headless front end of korvex-fetch: messages go to standard error, the
// acquisition and file dialogs are answered from the command line, progress
// is drawn on standard error, and posted commands wait for the fetch loop.
#pragma once
#include <cstddef>

// The common dialogs' own number for a name that does not fit the buffer.
constexpr int FNERR_BUFFERTOOSMALL = 0x3003;

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

// The name the save dialog answers with: name, with defaultExtension added
// when it has none. False when it does not fit in size.
bool fetchOutputPath(const char* name, const char* defaultExtension, char* path, size_t size);
// The oldest posted command; false when none waits.
bool takePostedCommand(int* commandId);
// Ends a progress bar line before other output follows it.
void finishProgressLine();
