// Lookups in the active language and the conversion to UTF-8.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/config_file.h"
#include "base/texts.h"
#include "res/text_table.h"

namespace {

class TextLookup : public ::testing::Test {
  protected:
    void SetUp() override { configBlock = ConfigBlock{}; }
    void TearDown() override { configBlock = ConfigBlock{}; }

    std::string text(int id) {
        char buffer[TEXT_SLOT_SIZE];
        loadText(buffer, id);
        return buffer;
    }
};

TEST_F(TextLookup, ReturnsTheLengthWithTheTerminator) {
    char buffer[TEXT_SLOT_SIZE];
    EXPECT_EQ(loadText(buffer, 1), int(std::strlen("2 minutes")) + 1);
    EXPECT_STREQ(buffer, "2 minutes");
    EXPECT_EQ(loadText(buffer, 35), 1);
    EXPECT_STREQ(buffer, "");
}

TEST_F(TextLookup, ReadsTheLanguageAtEveryCall) {
    EXPECT_EQ(text(14), "12 days");
    configBlock.languageBase = LANG_GERMAN;
    EXPECT_EQ(text(14), "12 Tage");
    configBlock.languageBase = LANG_DANISH;
    EXPECT_EQ(text(14), "12 dage");
    EXPECT_EQ(text(99), "");
}

TEST_F(TextLookup, LongestTextsFitTheBuffer) {
    configBlock.languageBase = LANG_GERMAN;
    char buffer[TEXT_SLOT_SIZE];
    int copied = loadText(buffer, 84);
    EXPECT_EQ(copied, int(std::strlen(buffer)) + 1);
    EXPECT_LE(copied, TEXT_SLOT_SIZE);
}

TEST_F(TextLookup, AnUnknownLanguageBaseReadsEnglish) {
    for (uint16_t base : {1, 50, 99, 150, 250, 300, 0xFFFF}) {
        configBlock.languageBase = base;
        EXPECT_EQ(text(43), "Error:") << "base " << base;
        EXPECT_EQ(text(99), "") << "base " << base;
    }
}

TEST_F(TextLookup, AnIdOutsideTheLanguageGivesAnEmptyText) {
    configBlock.languageBase = LANG_DANISH;
    for (int id : {-1, 100, 199, 1000, -300}) {
        char buffer[TEXT_SLOT_SIZE];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(loadText(buffer, id), 1) << "id " << id;
        EXPECT_STREQ(buffer, "") << "id " << id;
    }
}

TEST_F(TextLookup, Utf8LookupConvertsTheActiveLanguage) {
    configBlock.languageBase = LANG_GERMAN;
    char buffer[TEXT_UTF8_SIZE];
    loadTextUtf8(buffer, 27);
    EXPECT_STREQ(buffer, "Übertrage Daten, bitte warten...");
    configBlock.languageBase = LANG_DANISH;
    loadTextUtf8(buffer, 48);
    EXPECT_STREQ(buffer, "Skærmdump");
}

std::string utf8Of(const char* cp1252) {
    char out[64];
    cp1252ToUtf8(cp1252, out, sizeof out);
    return out;
}

TEST(Cp1252ToUtf8, KeepsAsciiAndConvertsLatin1) {
    EXPECT_EQ(utf8Of("kW% 0\n"), "kW% 0\n");
    EXPECT_EQ(utf8Of("\xA0\xC4\xD6\xDC\xDF\xE4\xE5\xE6\xF6\xF8\xFC\xFF"), "\u00A0ÄÖÜßäåæöøüÿ");
}

TEST(Cp1252ToUtf8, ConvertsEveryCodeFrom0x80To0x9F) {
    const char* expected[32] = {
        "€", "\u0081", "‚",      "ƒ", "„",      "…",      "†", "‡",      "ˆ", "‰", "Š",
        "‹", "Œ",      "\u008D", "Ž", "\u008F", "\u0090", "‘", "’",      "“", "”", "•",
        "–", "—",      "˜",      "™", "š",      "›",      "œ", "\u009D", "ž", "Ÿ",
    };
    for (int code = 0x80; code <= 0x9F; ++code) {
        char in[2] = {char(code), '\0'};
        EXPECT_EQ(utf8Of(in), expected[code - 0x80]) << std::hex << code;
    }
}

TEST(Cp1252ToUtf8, TruncatesAtACharacterBoundary) {
    char out[5];
    // "a€" needs 4 bytes and the terminator: it fits exactly.
    EXPECT_EQ(cp1252ToUtf8("a\x80", out, sizeof out), 4u);
    EXPECT_STREQ(out, "a€");
    // One more letter does not fit; nothing of it is written.
    EXPECT_EQ(cp1252ToUtf8("a\x80z", out, sizeof out), 4u);
    EXPECT_STREQ(out, "a€");
    // A three-byte character that does not fit is left out whole.
    EXPECT_EQ(cp1252ToUtf8("ab\x80", out, sizeof out), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(cp1252ToUtf8("abc", out, 0), 0u);
}

} // namespace
