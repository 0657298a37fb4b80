// The functions the core calls on the window system. Each program links
// exactly one implementation: the Qt front end, the native Win32 one, the
// headless downloader, or the scripted one of the tests. Texts are UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>

// Message boxes
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONINFORMATION = 0x40;
void uiMessageBox(const char* text, const char* caption, unsigned icon);
// The same box owned by the modal dialog that is open (the set-time dialog),
// so that it stands over that dialog and not over the main window.
void uiDialogMessageBox(const char* text, const char* caption, unsigned icon);

// The menu bar, described by the core; see res/menu_table.h.
struct MenuEntry;
// Builds the bar from count entries and attaches it, replacing any bar shown.
void uiSetMenuBar(const MenuEntry* entries, int count);
void uiDestroyMenuBar();
void uiCheckMenuItem(int commandId, bool checked);
// Greys an item out (false) or makes it available again. A new bar has every
// item available.
void uiEnableMenuItem(int commandId, bool enabled);

// Commands and timers on the user-interface thread
void uiPostCommand(int commandId);
void uiStartTimer(int timerId, unsigned periodMs);
void uiStopTimer(int timerId);
// Destroys the main window at once (File > Exit, and the close box's default).
void uiDestroyMainWindow();

// Painting, cursor, focus
void uiInvalidate(bool erase);
void uiSetWaitCursor(bool wait);
void uiFocusMainWindow();

// The span selector: a drop-down list of fixed entries
void uiSpanSetItems(const char* const* labels, int count);
int uiSpanGetSelection();
void uiSpanSetSelection(int index); // -1 selects nothing
// The notifications of the span selector that the program acts on, as
// WM_COMMAND carries them; a front end translates its list's signals into them.
constexpr int CBN_DROPDOWN = 7;
constexpr int CBN_SELENDOK = 9;

// The horizontal scroll bar, with Win32's scroll-information semantics
constexpr unsigned SIF_RANGE = 0x1;
constexpr unsigned SIF_PAGE = 0x2;
constexpr unsigned SIF_POS = 0x4;
constexpr unsigned SIF_TRACKPOS = 0x10;
struct ScrollInfo {
    int32_t nMin;
    int32_t nMax;
    uint32_t nPage;
    int32_t nPos;
    int32_t nTrackPos;
};
void uiScrollGetInfo(ScrollInfo* info);
void uiScrollSetInfo(const ScrollInfo* info, unsigned mask);
void uiScrollShow(bool show);
// The scroll codes of WM_HSCROLL, which a front end translates its scroll
// bar's actions into for onChartScroll (view/navigation.h).
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_LEFT = 6;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// Modal dialogs
// About box: caption (text 0), product and version lines. Returns 1 or 2.
int uiRunAboutDialog(const char* caption);

constexpr int ACQUISITION_SPANS = 14;
struct AcquisitionDialogContent {
    char title[128];
    char groupLabel[128];
    char spanLabels[ACQUISITION_SPANS][128];
    bool spanEnabled[ACQUISITION_SPANS];
    int checkedSpan; // 0..13
    char intervalLabel[128];
    char intervalText[16]; // "%d.%02d"
    char cancelLabel[128];
    char okLabel[128];
};
// Runs the acquisition dialog. Clicks on span k call acquisitionDialogCommand
// with 1001 + k, OK with 1 and Cancel (Esc, close box) with 2; the dialog ends
// when that returns true, with the result it gives. Returns -1 when the dialog
// cannot be shown.
int uiRunAcquisitionDialog(const AcquisitionDialogContent* content);

// The set-time dialog: a date row (day, month, year) and a time row (hour,
// minute, second), each an edit that takes any text with an up-down control
// at its right edge. The spinners keep to their ranges and write plain
// integers; Start time (1030), End time (1031) and Cancel (2, also Escape and
// the close box) call setTimeDialogCommand with the six texts as typed, and
// the dialog ends when that returns true, with the result it gives. Returns
// -1 when the dialog cannot be shown.
constexpr int SET_TIME_FIELDS = 6;
constexpr int DIALOG_TEXT_SIZE = 3 * 63 + 1; // a table text in UTF-8
struct SetTimeDialogContent {
    char title[DIALOG_TEXT_SIZE];
    char dateLabel[DIALOG_TEXT_SIZE];
    char timeLabel[DIALOG_TEXT_SIZE];
    char startLabel[DIALOG_TEXT_SIZE];
    char endLabel[DIALOG_TEXT_SIZE];
    char cancelLabel[DIALOG_TEXT_SIZE];
    // Day, month, year, hour, minute, second: range and start position.
    int lowest[SET_TIME_FIELDS];
    int highest[SET_TIME_FIELDS];
    int position[SET_TIME_FIELDS];
};
int uiRunSetTimeDialog(const SetTimeDialogContent* content);

// A question with three answers in the program's language, modal over the
// main window: the caption, the text and each button's label as given ("&"
// marks the mnemonic). Returns the button chosen, 0..2; Escape and the close
// box choose the third, which is always the one that changes nothing. -1
// when it cannot be shown, which callers take as that third answer.
constexpr int QUESTION_ANSWERS = 3;
constexpr int QUESTION_TEXT_SIZE = 512;
struct QuestionContent {
    char caption[DIALOG_TEXT_SIZE];
    char text[QUESTION_TEXT_SIZE];
    char answers[QUESTION_ANSWERS][DIALOG_TEXT_SIZE];
};
int uiAskQuestion(const QuestionContent* content);

// The modeless progress dialog at the top left of the client area. Its Abort
// button calls progressAbortClicked().
void uiProgressCreate(const char* text, const char* abortLabel);
void uiProgressSetPosition(int position); // 0..100
void uiProgressDestroy();

// File dialogs. Return true with a chosen name; false when cancelled or failed,
// with *dialogError 0 for a plain cancel (CommDlgExtendedError's meaning).
enum FileDialogKind { FILE_DIALOG_SAVE, FILE_DIALOG_OPEN };
struct FileDialogSpec {
    FileDialogKind kind;
    const char* filterName;       // "KVD File (*.kvd)"
    const char* filterPattern;    // "*.kvd"
    const char* defaultExtension; // "kvd"
    bool overwritePrompt;         // save: ask before replacing
    bool createPrompt;            // open: ask before creating a missing file
    // The folder to start in, as the system names it (bytes, not re-encoded),
    // or empty: where the window system starts, the working directory. A
    // folder the dialog cannot show is left for that start too.
    const char* startFolder;
};
bool uiRunFileDialog(const FileDialogSpec* spec, char* path, size_t size, int* dialogError);

// The Analysis window: modeless, owned by the main window, shown beside it.
// Its controls, top to bottom: the scope as three radio buttons, the demand
// period as a drop-down list, the thresholds and the rated power as edits,
// the figures as read-only text, the list of places to go to, and the Copy,
// Report and Close buttons. What the user does there goes to the calls of
// app/analysis_window.h.
constexpr int ANALYSIS_SCOPES = 3;
constexpr int ANALYSIS_DEMAND_CHOICES = 5;
struct AnalysisWindowTexts {
    char caption[DIALOG_TEXT_SIZE];
    char scopeLabel[DIALOG_TEXT_SIZE];
    char scopes[ANALYSIS_SCOPES][DIALOG_TEXT_SIZE];
    char demandLabel[DIALOG_TEXT_SIZE];
    char demandChoices[ANALYSIS_DEMAND_CHOICES][DIALOG_TEXT_SIZE];
    char thresholdsLabel[DIALOG_TEXT_SIZE];
    char ratedLabel[DIALOG_TEXT_SIZE];
    char listLabel[DIALOG_TEXT_SIZE];
    char copyLabel[DIALOG_TEXT_SIZE];
    char reportLabel[DIALOG_TEXT_SIZE];
    char closeLabel[DIALOG_TEXT_SIZE];
};
// Creates the window the first time and puts texts in its labels; shows it
// in front with the list's first row chosen when toFront (the menu command),
// and leaves it where it is when not (a new language).
void uiAnalysisShow(const AnalysisWindowTexts* texts, bool toFront);
// What the controls show, without reporting it back as the user's change.
void uiAnalysisSetSettings(int scope, int demandChoice, const char* thresholds,
                           const char* ratedKw);
// The figures: lines ended by '\n'.
void uiAnalysisSetFigures(const char* text);
// The rows of the list; the selection goes back to the first row.
void uiAnalysisSetList(const char* const* rows, int count);

// The clipboard: text gathered piece by piece, then put on it whole.
void uiClipboardAppend(const char* text, size_t length);
void uiClipboardCommit();

// Opens a written file in the desktop's program for it (a web page in the
// browser). Returns 0, or an error number of the system's.
int uiOpenDocument(const char* path);
