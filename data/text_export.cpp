// The header is written on its own and the samples a buffer at a time, so a
// short write still tells a header line from a sample line, and the result is
// what writing line by line would give.
#include "data/text_export.h"

#include <cstdio>
#include <cstring>

#include "base/error_codes.h"
#include "base/texts.h"
#include "data/line_output.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "platform/locale_time.h"
#include "res/text_table.h"

namespace {

constexpr int LOCALE_TEXT_SIZE = 64; // each date or time text: 63 characters at most

LineOutput output;

// A regional text of the stamp, in the program's character set. A stamp that
// is no calendar time (possible from a data file) has no regional text; its
// fields are written as they stand, in the ISO order, so the line still says
// what the record holds.
void regionalText(int (*format)(const SystemTime&, char*, size_t), const SystemTime& time,
                  const char* fallbackFormat, int a, int b, int c, char out[LOCALE_TEXT_SIZE]) {
    char utf8[4 * LOCALE_TEXT_SIZE];
    if (format(time, utf8, sizeof utf8) != 0)
        std::snprintf(utf8, sizeof utf8, fallbackFormat, a, b, c);
    utf8ToCp1252(utf8, out, LOCALE_TEXT_SIZE);
}

void appendHeader(uint32_t first, bool firstStored, uint32_t step) {
    char title[TEXT_SLOT_SIZE], startTime[TEXT_SLOT_SIZE], interval[TEXT_SLOT_SIZE];
    char unit[TEXT_SLOT_SIZE], seconds[TEXT_SLOT_SIZE];
    loadText(title, TEXT_PROGRAM_TITLE);
    loadText(startTime, TEXT_START_TIME);
    loadText(interval, TEXT_INTERVAL);
    loadText(unit, TEXT_UNIT);
    loadText(seconds, TEXT_SECONDS);

    char date[LOCALE_TEXT_SIZE] = "";
    char time[LOCALE_TEXT_SIZE] = "";
    if (firstStored) {
        const SampleRecord& record = sampleStore[first];
        const SystemTime stamp = stampTime(record);
        regionalText(formatShortDate, stamp, "%04d-%02d-%02d", stamp.year, stamp.month, stamp.day,
                     date);
        regionalText(formatTime24, stamp, "%02d:%02d:%02d", stamp.hour, stamp.minute, stamp.second,
                     time);
    }
    const uint64_t spacing = uint64_t(dataHeader.interval) * step;
    char header[4 * 3 * TEXT_SLOT_SIZE];
    int length =
        std::snprintf(header, sizeof header, "%s\n%s: %s, %s\n%s: %llu.%02u %s\n%s\n", title,
                      startTime, date, time, interval, (unsigned long long)(spacing / 100),
                      unsigned(spacing % 100), seconds, unit);
    lineOutputAppend(&output, header, size_t(length), ERR_EXPORT_HEADER);
}

// The line of each value code: its number below the export limit, else empty.
struct ValueLine {
    char text[4];
    uint8_t length;
};
struct ValueLines {
    ValueLine line[256];
    constexpr ValueLines() : line{} {
        for (int code = 0; code < 256; ++code) {
            ValueLine& l = line[code];
            if (code >= SAMPLE_EXPORT_LIMIT) {
                l.text[0] = '\n';
                l.length = 1;
                continue;
            }
            if (code >= 100)
                l.text[l.length++] = char('0' + code / 100);
            if (code >= 10)
                l.text[l.length++] = char('0' + code / 10 % 10);
            l.text[l.length++] = char('0' + code % 10);
            l.text[l.length++] = '\n';
        }
    }
};
constexpr ValueLines VALUE_LINES;

} // namespace

size_t exportValueText(uint8_t code, char out[3]) {
    const ValueLine& line = VALUE_LINES.line[code];
    const size_t length = size_t(line.length) - 1; // without its line feed
    std::memcpy(out, line.text, length);
    return length;
}

int writeExport(FileHandle file, uint32_t first, int64_t last, uint32_t step) {
    lineOutputStart(&output, file);
    const uint32_t stored = storableCount(dataHeader.count);
    if (step == 0)
        step = 1;
    if (last > int64_t(stored) - 1)
        last = int64_t(stored) - 1;
    const bool firstStored = first < stored;
    appendHeader(first, firstStored, step);
    lineOutputFlush(&output, ERR_EXPORT_HEADER);
    if (!firstStored || first > last)
        return output.result;
    for (int64_t i = first; i <= last; i += step) {
        const ValueLine& line = VALUE_LINES.line[sampleStore[i].value];
        lineOutputAppend(&output, line.text, line.length, ERR_EXPORT_VALUE);
    }
    lineOutputFlush(&output, ERR_EXPORT_VALUE);
    return output.result;
}

int writeExportFile(const char* path, uint32_t first, int64_t last, uint32_t step) {
    struct Range {
        uint32_t first;
        int64_t last;
        uint32_t step;
    } range = {first, last, step};
    return writeWholeFile(
        path,
        [](FileHandle file, const void* context) {
            const Range* r = static_cast<const Range*>(context);
            return writeExport(file, r->first, r->last, r->step);
        },
        &range);
}

int exportWriteMessage(int result) {
    return result == ERR_EXPORT_HEADER || result == ERR_EXPORT_VALUE ? MSG_EXPORT_WRITE : 0;
}

int exportShortWriteError() {
    return output.systemError;
}
