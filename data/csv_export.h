// All records as CSV for programs that read tables: a header line
// "time,value,code", then one row per record: its stamp in ISO 8601 with
// hundredths (2009-12-25T14:30:05.00), its value in percent for every value
// code (0..200 and 203..254, overloads included) and nothing for a marker or
// a gap, and its raw code, which tells a marker (201, 202) from a gap (255).
// Rows end with a line feed.
#pragma once
#include <cstddef>

struct SampleRecord;

constexpr const char* CSV_EXTENSION = "csv";

// Writes records 0 .. count - 1 into the file path, which holds the old file
// or the whole CSV afterwards. A stamp that names no real calendar time (see
// isCalendarStamp) leaves its time field empty, so that a reader sees a
// missing time rather than one it cannot parse or a wrong one. Returns 0 or
// a system error number.
int writeCsvFile(const char* path);

// A stamp as the CSV writes it, with its terminator; the tools' summary
// writes its stamps so too.
constexpr size_t CSV_STAMP_SIZE = 24;
// Writes record's stamp into out and returns its length; 0, with out empty,
// for a stamp that names no real calendar time.
size_t csvStampText(const SampleRecord& record, char out[CSV_STAMP_SIZE]);
