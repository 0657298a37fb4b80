// The load summary and the survey report of the data in memory, as the
// tools' shared options ask for them, and the range of stamps they keep.
#pragma once
#include <cstdint>

#include "tools/common/summary_options.h"

// Keeps only the records of --from and --to, when either is given. False,
// after a line that says so, when no record is in the range.
bool keepRecordRange(const SummaryOptions& options);
// Summarizes the data in memory and prints it as aligned text or as one JSON
// object. The text ends with a line naming file when it is not null
// (korvex-fetch's output); the JSON holds the summary's keys alone.
void printLoadSummary(const SummaryOptions& options, const char* file = nullptr);
// Writes --report from the data in memory, dataName being the data's file as
// the user named it, in the language of languageBase. True when the report
// is whole; otherwise the path and the reason are said, and the name holds
// what it held before.
bool writeReportFile(const SummaryOptions& options, const char* dataName, uint16_t languageBase);
