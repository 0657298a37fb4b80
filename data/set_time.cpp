#include "data/set_time.h"

#include <algorithm>
#include <climits>

#include "app/messages.h"
#include "app/texts.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "res/text_table.h"

TimeEntry timeEntry;

namespace {

constexpr int TEXT_CANCEL = 21;
constexpr int TEXT_DATE = 24;
constexpr int TEXT_TIME = 25;
constexpr int TEXT_END_TIME = 26;
static_assert(DIALOG_TEXT_SIZE >= int(TEXT_UTF8_SIZE), "a dialog text holds any table text");

constexpr int YEAR_BASE = 2000;
// The spinners' ranges; the year's is also what the entry must lie in.
constexpr int LOWEST[SET_TIME_FIELDS] = {1, 1, 2005, 0, 0, 0};
constexpr int HIGHEST[SET_TIME_FIELDS] = {31, 12, 2099, 23, 59, 59};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// An entry is a number when it holds decimal digits and nothing else but
// blanks around them, and fits 32 bits unsigned. Its whole value is judged:
// a month of 257 is 257, not a byte's 1.
bool readEntry(const char* text, uint32_t* value) {
    while (isBlank(*text))
        ++text;
    uint64_t number = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + uint64_t(*text - '0');
        if (number > UINT_MAX)
            return false;
    }
    if (text == digits)
        return false;
    while (isBlank(*text))
        ++text;
    *value = uint32_t(number);
    return *text == '\0';
}

// All six must be numbers in their ranges, the day within its month.
bool readTimeEntry(const char* const entries[SET_TIME_FIELDS], TimeEntry* entry) {
    uint32_t values[SET_TIME_FIELDS];
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        if (!readEntry(entries[field], &values[field]) || values[field] < uint32_t(LOWEST[field]) ||
            values[field] > uint32_t(HIGHEST[field]))
            return false;
    }
    entry->year = uint8_t(values[FIELD_YEAR] - YEAR_BASE);
    entry->month = uint8_t(values[FIELD_MONTH]);
    entry->day = uint8_t(values[FIELD_DAY]);
    entry->hour = uint8_t(values[FIELD_HOUR]);
    entry->minute = uint8_t(values[FIELD_MINUTE]);
    entry->second = uint8_t(values[FIELD_SECOND]);
    return entry->day <= daysIn(entry->month, entry->year);
}

// The dialog opens on the first record's stamp, also for an end time. A
// spinner holds its position inside its range, so a stamp from before 2005
// opens on 2005.
SetTimeDialogContent dialogContent() {
    SetTimeDialogContent content = {};
    loadTextUtf8(content.title, CAPTION_SET_TIME);
    loadTextUtf8(content.dateLabel, TEXT_DATE);
    loadTextUtf8(content.timeLabel, TEXT_TIME);
    loadTextUtf8(content.startLabel, TEXT_START_TIME);
    loadTextUtf8(content.endLabel, TEXT_END_TIME);
    loadTextUtf8(content.cancelLabel, TEXT_CANCEL);
    const SampleRecord& first = sampleStore[0];
    const int stamp[SET_TIME_FIELDS] = {first.day,  first.month,  first.year + YEAR_BASE,
                                        first.hour, first.minute, first.second};
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        content.lowest[field] = LOWEST[field];
        content.highest[field] = HIGHEST[field];
        content.position[field] = std::clamp(stamp[field], LOWEST[field], HIGHEST[field]);
    }
    return content;
}

} // namespace

bool setTimeDialogCommand(int controlId, const char* const entries[SET_TIME_FIELDS], int* result) {
    if (controlId == SET_TIME_CANCEL) {
        *result = SET_TIME_CANCEL;
        return true;
    }
    if (controlId != SET_TIME_START && controlId != SET_TIME_END)
        return false;
    TimeEntry entry;
    if (!readTimeEntry(entries, &entry)) {
        showDialogMessage(MSG_INVALID_TIME, CAPTION_SET_TIME, 0);
        return false;
    }
    timeEntry = entry;
    *result = controlId;
    return true;
}

void setTimeCommand() {
    const SetTimeDialogContent content = dialogContent();
    const int result = uiRunSetTimeDialog(&content);
    if (result != SET_TIME_START && result != SET_TIME_END)
        return;
    SystemTime time = {};
    time.year = uint16_t(timeEntry.year + YEAR_BASE);
    time.month = timeEntry.month;
    time.day = timeEntry.day;
    time.hour = timeEntry.hour;
    time.minute = timeEntry.minute;
    time.second = timeEntry.second;
    if (result == SET_TIME_START)
        stampFromStart(time);
    else
        stampFromEnd(time);
    uiInvalidate(true);
}
