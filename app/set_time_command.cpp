#include "app/set_time_command.h"

#include <algorithm>

#include "base/messages.h"
#include "base/texts.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "data/time_entry.h"
#include "res/text_table.h"
#include "view/chart_view.h"

TimeEntry timeEntry;

namespace {

static_assert(DIALOG_TEXT_SIZE >= int(TEXT_UTF8_SIZE), "a dialog text holds any table text");
static_assert(SET_TIME_FIELDS == TIME_FIELD_COUNT, "the dialog has an edit per entry");

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
    const int stamp[SET_TIME_FIELDS] = {first.day,  first.month,  first.year + TIME_ENTRY_YEAR_BASE,
                                        first.hour, first.minute, first.second};
    for (int field = 0; field < SET_TIME_FIELDS; ++field) {
        content.lowest[field] = TIME_FIELD_LOWEST[field];
        content.highest[field] = TIME_FIELD_HIGHEST[field];
        content.position[field] =
            std::clamp(stamp[field], TIME_FIELD_LOWEST[field], TIME_FIELD_HIGHEST[field]);
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
    time.year = uint16_t(timeEntry.year + TIME_ENTRY_YEAR_BASE);
    time.month = timeEntry.month;
    time.day = timeEntry.day;
    time.hour = timeEntry.hour;
    time.minute = timeEntry.minute;
    time.second = timeEntry.second;
    if (result == SET_TIME_START)
        stampFromStart(time);
    else
        stampFromEnd(time);
    dataUnsaved = true;
    ++chartDataGeneration;
    uiInvalidate(true);
}
