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
    // The survey report's words, which the Analysis window shares.
    ADDED_DEFAULT_TITLE,
    ADDED_FILE,
    ADDED_INTERVAL,
    ADDED_FIRST,
    ADDED_LAST,
    ADDED_RECORDS,
    ADDED_VALUE_SAMPLES,
    ADDED_RATING,
    ADDED_NOT_GIVEN,
    ADDED_DEMAND_PERIOD,
    ADDED_MINUTES,
    ADDED_MADE,
    ADDED_SUMMARY,
    ADDED_FIGURE,
    ADDED_VALUE,
    ADDED_TIME,
    ADDED_MINIMUM,
    ADDED_MAXIMUM,
    ADDED_MEAN,
    ADDED_MAX_DEMAND,
    ADDED_LOAD_FACTOR,
    ADDED_COVERED,
    ADDED_ENERGY,
    ADDED_AT_OR_ABOVE,
    ADDED_SAMPLES,
    ADDED_SECONDS,
    ADDED_SHARE,
    ADDED_MARKERS,
    ADDED_GAPS,
    ADDED_RECORD_CHART,
    ADDED_RECORD_NOTE,
    ADDED_PROFILE,
    ADDED_PROFILE_NOTE,
    ADDED_WORKDAYS,
    ADDED_WEEKENDS,
    ADDED_HEATMAP,
    ADDED_HEATMAP_NOTE,
    ADDED_DURATION,
    ADDED_DURATION_NOTE,
    ADDED_SHARE_OF_TIME,
    ADDED_BLOCKS,
    ADDED_TOP_BLOCKS,
    ADDED_START,
    ADDED_END,
    ADDED_EXCURSIONS,
    ADDED_EXCURSIONS_NOTE,
    ADDED_THRESHOLD,
    ADDED_PEAK,
    ADDED_PEAK_TIME,
    ADDED_ABOVE_PERCENT_HOURS,
    ADDED_ABOVE_KWH,
    ADDED_BEFORE,
    ADDED_MORE,
    ADDED_NONE,
    ADDED_CODE,
    ADDED_DATE,
    ADDED_TIME_OF_DAY,
    ADDED_NO_CALENDAR_TIME,
    ADDED_NO_DATA,
    ADDED_MADE_BY,
    // What the tools say of a file the replacement could not leave as asked.
    ADDED_NOTICE_WRITTEN_WITHOUT_COPY,
    ADDED_NOTICE_NEW_UNCONFIRMED,
    ADDED_NOTICE_OLD_AND_NEW_TAIL,
    ADDED_NOTICE_OLD_AND_NEW_TAIL_NO_COPY,
    ADDED_NOTICE_MIXED,
    ADDED_NOTICE_MIXED_NO_COPY,
    ADDED_NOTICE_OLD_WITH_COPY,
    ADDED_NOTICE_NOTHING,
    ADDED_NOTICE_HELD,
    // The readout under the mouse for a column that shows no value.
    ADDED_MARKER,
    ADDED_GAP,
    ADDED_TEXT_COUNT,
};

constexpr int ADDED_LANGUAGE_COUNT = 3;

// Text id in language 0 (English), 1 (German) or 2 (Danish); an id or a
// language outside the table gives an empty text.
const char* addedTextIn(int id, int language);
