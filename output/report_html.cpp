#include "output/report_html.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/texts.h"
#include "data/csv_export.h"
#include "data/line_output.h"
#include "res/added_texts.h"
#include "res/text_table.h"

namespace {

LineOutput output;
uint16_t language;

void putBytes(const char* bytes, size_t length) {
    lineOutputAppend(&output, bytes, length, 0);
}

// The length of the UTF-8 sequence at text, 0 when it is none (overlong
// forms, surrogates and code points past U+10FFFF included).
size_t utf8Length(const unsigned char* text) {
    const unsigned char c = text[0];
    size_t length;
    uint32_t point;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        point = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        point = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        point = c & 0x07;
    } else {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((text[k] & 0xC0) != 0x80)
            return 0;
        point = point << 6 | (text[k] & 0x3F);
    }
    const bool overlong = (length == 3 && point < 0x800) || (length == 4 && point < 0x10000);
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return overlong || surrogate || point > 0x10FFFF ? 0 : length;
}

} // namespace

void htmlStart(FileHandle file, uint16_t languageBase) {
    lineOutputStart(&output, file);
    language = languageBase;
}

uint16_t htmlLanguage() {
    return language;
}

int htmlFinish() {
    lineOutputFlush(&output, 0);
    return output.result;
}

void htmlPut(const char* text) {
    putBytes(text, std::strlen(text));
}

void htmlPrintf(const char* format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length > 0)
        putBytes(line, size_t(length) < sizeof line ? size_t(length) : sizeof line - 1);
}

void htmlPutEscaped(const char* text) {
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != '\0';) {
        const unsigned char c = *at;
        const char* entity = c == '&'    ? "&amp;"
                             : c == '<'  ? "&lt;"
                             : c == '>'  ? "&gt;"
                             : c == '"'  ? "&quot;"
                             : c == '\'' ? "&#39;"
                                         : nullptr;
        if (entity != nullptr) {
            htmlPut(entity);
            ++at;
        } else if (c < 0x80) {
            // Control characters would make the page invalid; a blank shows them.
            const char plain = c < 0x20 ? ' ' : char(c);
            putBytes(&plain, 1);
            ++at;
        } else if (const size_t length = utf8Length(at); length > 0) {
            putBytes(reinterpret_cast<const char*>(at), length);
            at += length;
        } else {
            htmlPut("&#xFFFD;");
            ++at;
        }
    }
}

ReportFigure htmlDecimal(uint64_t scaled, int decimals) {
    ReportFigure out;
    uint64_t unit = 1;
    for (int k = 0; k < decimals; ++k)
        unit *= 10;
    if (decimals == 0) {
        std::snprintf(out.text, sizeof out.text, "%llu", (unsigned long long)scaled);
        return out;
    }
    const char mark = language == LANG_GERMAN || language == LANG_DANISH ? ',' : '.';
    std::snprintf(out.text, sizeof out.text, "%llu%c%0*llu", (unsigned long long)(scaled / unit),
                  mark, decimals, (unsigned long long)(scaled % unit));
    return out;
}

ReportFigure htmlStamp(const SampleRecord& record) {
    ReportFigure out;
    char iso[CSV_STAMP_SIZE];
    if (csvStampText(record, iso) == 0) {
        std::snprintf(out.text, sizeof out.text, "%s",
                      addedTextOf(ADDED_NO_CALENDAR_TIME, language));
        return out;
    }
    iso[10] = ' ';
    std::snprintf(out.text, sizeof out.text, "%s", iso);
    return out;
}
