#include "data/csv_export.h"

#include "data/line_output.h"
#include "data/sample_store.h"
#include "data/text_export.h"
#include "data/time_base.h"

namespace {

LineOutput output;

char* putTwoDigits(char* at, unsigned value) {
    at[0] = char('0' + value / 10 % 10);
    at[1] = char('0' + value % 10);
    return at + 2;
}

// "YYYY-MM-DDTHH:MM:SS.hh"; the fields of a calendar stamp are all in range.
char* putStamp(char* at, const SampleRecord& r) {
    at = putTwoDigits(at, 20 + r.year / 100);
    at = putTwoDigits(at, r.year % 100);
    *at++ = '-';
    at = putTwoDigits(at, r.month);
    *at++ = '-';
    at = putTwoDigits(at, r.day);
    *at++ = 'T';
    at = putTwoDigits(at, r.hour);
    *at++ = ':';
    at = putTwoDigits(at, r.minute);
    *at++ = ':';
    at = putTwoDigits(at, r.second);
    *at++ = '.';
    *at++ = char('0' + r.tenths);
    *at++ = char('0' + r.hundredths);
    return at;
}

int writeCsv(FileHandle file, const void*) {
    lineOutputStart(&output, file);
    static const char HEADER[] = "time,value\n";
    lineOutputAppend(&output, HEADER, sizeof HEADER - 1, 0);
    const uint32_t count = storableCount(dataHeader.count);
    for (uint32_t i = 0; i < count; ++i) {
        const SampleRecord& record = sampleStore[i];
        char row[32];
        char* at = row;
        if (isCalendarStamp(record))
            at = putStamp(at, record);
        *at++ = ',';
        at += exportValueText(record.value, at);
        *at++ = '\n';
        lineOutputAppend(&output, row, size_t(at - row), 0);
    }
    lineOutputFlush(&output, 0);
    return output.result;
}

} // namespace

int writeCsvFile(const char* path) {
    return writeWholeFile(path, writeCsv, nullptr);
}
