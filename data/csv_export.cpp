#include "data/csv_export.h"

#include "data/line_output.h"
#include "data/sample_store.h"
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

// A code of up to three digits.
char* putCode(char* at, uint8_t code) {
    if (code >= 100)
        *at++ = char('0' + code / 100);
    if (code >= 10)
        *at++ = char('0' + code / 10 % 10);
    *at++ = char('0' + code % 10);
    return at;
}

int writeCsv(FileHandle file, const void*) {
    lineOutputStart(&output, file);
    static const char HEADER[] = "time,value,code\n";
    lineOutputAppend(&output, HEADER, sizeof HEADER - 1, 0);
    const uint32_t count = storableCount(dataHeader.count);
    for (uint32_t i = 0; i < count; ++i) {
        const SampleRecord& record = sampleStore[i];
        char row[40];
        char* at = row;
        if (isCalendarStamp(record))
            at = putStamp(at, record);
        *at++ = ',';
        if (isValueCode(record.value))
            at = putCode(at, record.value);
        *at++ = ',';
        at = putCode(at, record.value);
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

size_t csvStampText(const SampleRecord& record, char out[CSV_STAMP_SIZE]) {
    char* end = isCalendarStamp(record) ? putStamp(out, record) : out;
    *end = '\0';
    return size_t(end - out);
}
