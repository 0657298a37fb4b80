#include "base/texts.h"

#include <cstdint>
#include <cstring>

#include "base/config_file.h"
#include "res/added_texts.h"
#include "res/text_table.h"

namespace {

// Code points of 0x80..0x9F, where Windows-1252 departs from Latin-1; the
// unassigned codes keep their own value.
constexpr uint16_t CP1252_HIGH_CONTROLS[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint16_t codePointOf(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return CP1252_HIGH_CONTROLS[byte - 0x80];
    }
    return byte;
}

constexpr char UNMAPPABLE = '?';

uint8_t cp1252ByteOf(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return uint8_t(code);
    }
    for (int i = 0; i < 32; ++i) {
        if (CP1252_HIGH_CONTROLS[i] == code) {
            return uint8_t(0x80 + i);
        }
    }
    return UNMAPPABLE;
}

// One UTF-8 sequence from at: its code point and its length in bytes. A
// malformed or overlong sequence, or a surrogate, gives no code point and a
// length of 1, so the bytes after it are read afresh.
uint32_t decodeUtf8(const uint8_t* at, size_t* length) {
    constexpr uint32_t INVALID = 0xFFFFFFFF;
    *length = 1;
    if (at[0] < 0x80) {
        return at[0];
    }
    // The lead byte gives the number of continuation bytes and the smallest
    // code point that needs that many.
    int trailing;
    uint32_t lowest;
    if ((at[0] & 0xE0) == 0xC0) {
        trailing = 1;
        lowest = 0x80;
    } else if ((at[0] & 0xF0) == 0xE0) {
        trailing = 2;
        lowest = 0x800;
    } else if ((at[0] & 0xF8) == 0xF0) {
        trailing = 3;
        lowest = 0x10000;
    } else {
        return INVALID;
    }
    uint32_t code = at[0] & (0x3F >> trailing);
    for (int i = 1; i <= trailing; ++i) {
        if ((at[i] & 0xC0) != 0x80) {
            return INVALID;
        }
        code = (code << 6) | (at[i] & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return INVALID;
    }
    *length = size_t(trailing) + 1;
    return code;
}

} // namespace

int activeLanguageBase() {
    uint16_t base = configBlock.languageBase;
    if (base == LANG_GERMAN || base == LANG_DANISH) {
        return base;
    }
    return LANG_ENGLISH;
}

int loadText(char* buffer, int textId) {
    if (textId < 0 || textId >= TEXT_SLOTS_PER_LANGUAGE) {
        buffer[0] = '\0';
        return 1;
    }
    const char* text = textTable.slots[activeLanguageBase() + textId];
    // Every slot ends in a zero byte; the bound keeps the copy inside the
    // buffer even so.
    const void* end = std::memchr(text, '\0', TEXT_SLOT_SIZE - 1);
    size_t length =
        end != nullptr ? size_t(static_cast<const char*>(end) - text) : size_t(TEXT_SLOT_SIZE - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return int(length) + 1;
}

size_t cp1252ToUtf8(const char* in, char* out, size_t size) {
    if (size == 0) {
        return 0;
    }
    size_t written = 0;
    for (const char* at = in; *at != '\0'; ++at) {
        uint16_t code = codePointOf(uint8_t(*at));
        uint8_t encoded[3];
        size_t length = 0;
        if (code < 0x80) {
            encoded[length++] = uint8_t(code);
        } else if (code < 0x800) {
            encoded[length++] = uint8_t(0xC0 | (code >> 6));
            encoded[length++] = uint8_t(0x80 | (code & 0x3F));
        } else {
            encoded[length++] = uint8_t(0xE0 | (code >> 12));
            encoded[length++] = uint8_t(0x80 | ((code >> 6) & 0x3F));
            encoded[length++] = uint8_t(0x80 | (code & 0x3F));
        }
        if (written + length >= size) {
            break;
        }
        std::memcpy(out + written, encoded, length);
        written += length;
    }
    out[written] = '\0';
    return written;
}

size_t utf8ToCp1252(const char* in, char* out, size_t size) {
    if (size == 0) {
        return 0;
    }
    size_t written = 0;
    const uint8_t* at = reinterpret_cast<const uint8_t*>(in);
    while (*at != 0 && written + 1 < size) {
        size_t length = 1;
        out[written++] = char(cp1252ByteOf(decodeUtf8(at, &length)));
        at += length;
    }
    out[written] = '\0';
    return written;
}

void loadTextUtf8(char* buffer, int textId) {
    char text[TEXT_SLOT_SIZE];
    loadText(text, textId);
    cp1252ToUtf8(text, buffer, TEXT_UTF8_SIZE);
}

const char* addedText(int textId) {
    return addedTextIn(textId, activeLanguageBase() / TEXT_SLOTS_PER_LANGUAGE);
}

const char* addedTextOf(int textId, uint16_t languageBase) {
    const bool known = languageBase == LANG_GERMAN || languageBase == LANG_DANISH;
    return addedTextIn(textId, known ? languageBase / TEXT_SLOTS_PER_LANGUAGE : 0);
}
