// Writing the survey report's HTML: text as it is, text from outside escaped,
// and numbers in the language's own style, into the file being replaced.
#pragma once
#include <cstdint>

#include "platform/file.h"

struct SampleRecord;

// A number or a stamp as the report prints it.
struct ReportFigure {
    char text[48];
};

void htmlStart(FileHandle file, uint16_t languageBase);
// The language the report is written in, as the text table's base.
uint16_t htmlLanguage();
// 0, or the system's error number of a write that fell short.
int htmlFinish();
void htmlPut(const char* text);
void htmlPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Text from a file name or a command line: markup characters become
// entities, and bytes that are no UTF-8 become U+FFFD, so nothing in it can
// be read as markup and the page stays valid UTF-8.
void htmlPutEscaped(const char* text);
// A whole number of hundredths (decimals 2) ... with the language's decimal
// mark: a point in English, a comma in German and Danish.
ReportFigure htmlDecimal(uint64_t scaled, int decimals);
// A stamp as "2009-12-25 14:30:05.00", or the words for no calendar time.
ReportFigure htmlStamp(const SampleRecord& record);
