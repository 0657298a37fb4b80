// The text table as the program carries it: every slot terminated, the
// unused ids empty, the Windows-1252 bytes and the line breaks exact.
#include <gtest/gtest.h>

#include <cstring>

#include "res/text_table.h"

namespace {

TEST(TextTableLayout, EverySlotIsTerminatedAndZeroAfterItsText) {
    for (int slot = 0; slot < TEXT_SLOT_COUNT; ++slot) {
        const char* bytes = textTable.slots[slot];
        size_t length = 0;
        while (length < TEXT_SLOT_SIZE && bytes[length] != '\0') {
            ++length;
        }
        ASSERT_LT(length, size_t(TEXT_SLOT_SIZE)) << "slot " << slot;
        for (size_t i = length; i < TEXT_SLOT_SIZE; ++i) {
            ASSERT_EQ(bytes[i], '\0') << "slot " << slot << " byte " << i;
        }
    }
}

TEST(TextTableLayout, UnusedIdsAreEmptyInEveryLanguage) {
    for (int base : {LANG_ENGLISH, LANG_GERMAN, LANG_DANISH}) {
        for (int id = 0; id < TEXT_SLOTS_PER_LANGUAGE; ++id) {
            bool unused = (id >= 31 && id <= 39) || (id >= 51 && id <= 69) || id == 88 || id >= 90;
            EXPECT_EQ(textTable.slots[base + id][0] == '\0', unused)
                << "language " << base << " id " << id;
        }
    }
}

TEST(TextTableLayout, HoldsWindows1252Bytes) {
    EXPECT_STREQ(textTable.slots[LANG_GERMAN + 0], "\xDC"
                                                   "ber");
    EXPECT_STREQ(textTable.slots[LANG_DANISH + 20], "Datam\xE6ngde");
    EXPECT_STREQ(textTable.slots[LANG_GERMAN + 73], "Fehler beim Schlie\xDF"
                                                    "en der Datei...");
    EXPECT_STREQ(textTable.slots[LANG_DANISH + 77], "Fejl ved \xE5"
                                                    "bning af konfigurationsfil!");
}

TEST(TextTableLayout, KeepsLineBreaksAndBlanksExactly) {
    EXPECT_STREQ(textTable.slots[LANG_ENGLISH + 40],
                 "No communication to T596.\nTransmission of data not possible!");
    // The German text 40 has no line break, unlike the English one.
    EXPECT_EQ(std::strchr(textTable.slots[LANG_GERMAN + 40], '\n'), nullptr);
    EXPECT_STREQ(textTable.slots[LANG_DANISH + 45], "Ingen data tilstede, \nafbryder funktion");
    EXPECT_STREQ(textTable.slots[LANG_GERMAN + 41], "Timeout bei Empfang der Daten\n\xDC"
                                                    "bertragung beendet!");
}

} // namespace
