// The texts of what the program gained after the text table's slots were laid
// out. The text table keeps its fixed slots and Windows-1252 bytes; these
// texts are UTF-8, as the front ends show them, one row of three languages
// per id. A new feature appends its ids before ADDED_TEXT_COUNT.
#pragma once

enum AddedTextId {
    // The question before unsaved samples are dropped, and its first two
    // answers (the third is the text table's Cancel).
    ADDED_UNSAVED_QUESTION,
    ADDED_ANSWER_SAVE,
    ADDED_ANSWER_DISCARD,
    // After the device of a COM item the user may not open.
    ADDED_NO_ACCESS,
    // How to get that access, where a port could not be opened for it.
    ADDED_ACCESS_HINT,
    // The Analysis window's caption, the captions of message 45 for its two
    // commands, and its controls.
    ADDED_ANALYSIS_CAPTION,
    ADDED_SUMMARY_CAPTION,
    ADDED_REPORT_CAPTION,
    ADDED_ANALYSIS_SCOPE,
    ADDED_ANALYSIS_THRESHOLDS,
    ADDED_ANALYSIS_RATED,
    ADDED_ANALYSIS_LIST,
    ADDED_ANALYSIS_COPY,
    ADDED_ANALYSIS_REPORT,
    ADDED_ANALYSIS_CLOSE,
    ADDED_TEXT_COUNT,
};

constexpr int ADDED_LANGUAGE_COUNT = 3;

// Text id in language 0 (English), 1 (German) or 2 (Danish); an id or a
// language outside the table gives an empty text.
const char* addedTextIn(int id, int language);
