// A front end for tests: it carries out nothing on a screen but records every
// call the core makes, in order, keeps the state a window system would keep
// (menu bar and check marks, span selector, scroll bar, timers, posted
// commands, dialogs) and answers dialogs from a script the test sets.
//
// Each call is recorded as one string, the call's name and its arguments
// separated by '|', e.g. "messageBox|Error opening configuration file: 30003|
// Error:|16". Getters are not recorded. scriptedReset() gives every test a
// clean state.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/menu_table.h"
#include "ui/frontend.h"

struct ScriptedMessageBox {
    std::string text; // UTF-8, as shown
    std::string caption;
    unsigned icon;           // MB_ICONINFORMATION or MB_ICONHAND
    bool overDialog = false; // owned by the open dialog, not the main window
};

// One button of the set-time dialog pressed with these six entries (day,
// month, year, hour, minute, second); none given: the texts it opened with.
struct ScriptedSetTimeClick {
    int controlId;
    std::vector<std::string> entries;
};

// One answer of a file dialog: a chosen path, or a cancel (or failure) with
// its error number, 0 for a plain cancel.
struct ScriptedFileAnswer {
    bool chosen;
    std::string path;
    int dialogError;
};

struct ScriptedFileDialog {
    FileDialogKind kind;
    std::string filterName;
    std::string filterPattern;
    std::string defaultExtension;
    bool overwritePrompt;
    bool createPrompt;
    std::string startFolder;
};

struct ScriptedFrontend {
    std::vector<std::string> calls;
    std::vector<ScriptedMessageBox> messageBoxes;
    // Runs inside each message box, as the box's modal loop would dispatch
    // timer ticks; empty by default.
    std::function<void()> duringMessageBox;

    // The menu bar as last set, and the check mark of each command id.
    std::vector<MenuEntry> menuBar;
    bool menuBarAttached = false;
    std::map<int, bool> checked;
    // The command ids greyed out on the bar as it stands.
    std::set<int> greyed;

    std::vector<std::string> spanItems;
    int spanSelection = -1;

    // Kept with SetScrollInfo's clamping: the page fits the range, the
    // position fits the range less the page. nTrackPos is set by the test.
    ScrollInfo scroll{0, 0, 0, 0, 0};
    bool scrollVisible = true;

    std::map<int, unsigned> runningTimers; // id -> period in ms
    std::deque<int> postedCommands;
    int invalidations = 0;
    int erasingInvalidations = 0;
    bool waitCursor = false;
    bool mainWindowDestroyed = false;

    // About box: the result it ends with; the captions it was shown with.
    int aboutResult = 1;
    std::vector<std::string> aboutCaptions;

    // Acquisition dialog: each run records its content and then delivers the
    // scripted control ids (1001 + k for span k, 1 OK, 2 Cancel) one by one
    // to acquisitionDialogCommand until it ends the dialog. A script that
    // runs out is ended by Cancel, as the close box would. When unavailable
    // the dialog cannot be shown (-1).
    bool acquisitionAvailable = true;
    std::deque<int> acquisitionClicks;
    std::vector<AcquisitionDialogContent> acquisitionDialogs;

    // Set-time dialog: as the acquisition dialog, a script of button presses
    // ended by Cancel when it runs out.
    bool setTimeAvailable = true;
    std::deque<ScriptedSetTimeClick> setTimeClicks;
    std::vector<SetTimeDialogContent> setTimeDialogs;

    // Progress dialog
    bool progressOpen = false;
    int progressPosition = 0;
    std::string progressText;
    std::string progressAbortLabel;

    // File dialogs: one answer per dialog, in order; none left is a cancel.
    std::deque<ScriptedFileAnswer> fileAnswers;
    std::vector<ScriptedFileDialog> fileDialogs;

    // The three-answer question: one scripted answer (0..2) per question, in
    // order; none left is the third, as Escape would answer.
    std::deque<int> questionAnswers;
    std::vector<QuestionContent> questions;

    // The Analysis window as the core last filled it, the clipboard, and the
    // documents opened for the user.
    bool analysisShown = false;
    AnalysisWindowTexts analysisTexts{};
    int analysisScope = -1;
    int analysisDemandChoice = -1;
    std::string analysisThresholds, analysisRated, analysisFigures;
    std::vector<std::string> analysisRows;
    std::string clipboard, clipboardPending;
    std::vector<std::string> openedDocuments;
};

extern ScriptedFrontend scripted;

// A clean front end: no calls, no menu, no timers, default answers.
void scriptedReset();
// Runs the posted commands, in order, through mainWindowCommand, including
// those posted while they run. Returns how many ran.
int scriptedRunPostedCommands();
// How many recorded calls are exactly call, or begin with prefix.
int scriptedCount(const std::string& call);
std::vector<std::string> scriptedCallsStartingWith(const std::string& prefix);
// The menu item with this command id, or null.
const MenuEntry* scriptedMenuItem(int commandId);
// The command ids that carry a check mark, in ascending order.
std::vector<int> scriptedCheckedItems();
