// All records as CSV for programs that read tables: a header line
// "time,value", then one row per record with its stamp in ISO 8601 with
// hundredths (2009-12-25T14:30:05.00) and its value code, left empty from 150
// up as in the text export. Rows end with a line feed.
#pragma once

constexpr const char* CSV_EXTENSION = "csv";

// Writes records 0 .. count - 1 into the file path, which holds the old file
// or the whole CSV afterwards. A stamp that names no real calendar time (see
// isCalendarStamp) leaves its time field empty, so that a reader sees a
// missing time rather than one it cannot parse or a wrong one. Returns 0 or
// a system error number.
int writeCsvFile(const char* path);
