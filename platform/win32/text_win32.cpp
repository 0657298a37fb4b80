// Names are carried as WTF-8: UTF-8 that also encodes a lone surrogate, as
// UTF-8 would encode its number. A file name on Windows is any sequence of
// 16-bit units, paired or not, and the system's own conversion would put a
// replacement character in place of a lone one and so name another file;
// this way every wide name comes back exactly.
#include "platform/win32/text_win32.h"

#include <windows.h>

#include <shellapi.h>

namespace {

bool isHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::string* out, unsigned code) {
    if (code < 0x80) {
        out->push_back(char(code));
        return;
    }
    if (code < 0x800) {
        out->push_back(char(0xC0 | code >> 6));
    } else if (code < 0x10000) {
        out->push_back(char(0xE0 | code >> 12));
        out->push_back(char(0x80 | (code >> 6 & 0x3F)));
    } else {
        out->push_back(char(0xF0 | code >> 18));
        out->push_back(char(0x80 | (code >> 12 & 0x3F)));
        out->push_back(char(0x80 | (code >> 6 & 0x3F)));
    }
    out->push_back(char(0x80 | (code & 0x3F)));
}

// The code at text, advancing it; false for a sequence that is not UTF-8
// (surrogates apart): truncated, overlong or beyond U+10FFFF.
bool nextCode(const unsigned char*& text, unsigned* code) {
    const unsigned lead = *text++;
    int following = 0;
    unsigned least = 0;
    if (lead < 0x80) {
        *code = lead;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1, least = 0x80, *code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2, least = 0x800, *code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3, least = 0x10000, *code = lead & 0x07;
    } else {
        return false;
    }
    for (int i = 0; i < following; ++i, ++text) {
        if ((*text & 0xC0) != 0x80)
            return false;
        *code = *code << 6 | (*text & 0x3F);
    }
    return *code >= least && *code <= 0x10FFFF;
}

} // namespace

bool utf8ToWide(const char* text, std::wstring* wide) {
    wide->clear();
    const auto* at = reinterpret_cast<const unsigned char*>(text);
    while (*at != '\0') {
        unsigned code = 0;
        if (!nextCode(at, &code)) {
            wide->clear();
            return false;
        }
        if (code >= 0x10000) {
            wide->push_back(wchar_t(0xD800 + ((code - 0x10000) >> 10)));
            wide->push_back(wchar_t(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            wide->push_back(wchar_t(code));
        }
    }
    return true;
}

std::string wideToUtf8(const wchar_t* wide) {
    std::string utf8;
    for (; *wide != L'\0'; ++wide) {
        unsigned unit = unsigned(*wide);
        if (isHighSurrogate(unit) && isLowSurrogate(unsigned(wide[1]))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unsigned(wide[1]) - 0xDC00);
            ++wide;
        }
        appendUtf8(&utf8, unit);
    }
    return utf8;
}

std::string ansiToUtf8(const char* text) {
    int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wideLength <= 0)
        return std::string();
    std::wstring wide(size_t(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
    return wideToUtf8(wide.c_str());
}

std::vector<std::string> commandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; wide != nullptr && i < count; ++i)
        arguments.push_back(wideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}
