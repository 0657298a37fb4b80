// Looking up texts of the text table in the active language, and turning
// them from the table's Windows-1252 into the UTF-8 the front ends show.
#pragma once
#include <cstddef>
#include <cstdint>

// A Windows-1252 text of 63 characters takes at most 3 bytes per character.
constexpr size_t TEXT_UTF8_SIZE = 3 * 63 + 1;

// The language texts and menus are shown in: configBlock.languageBase when it
// is one of the three language bases, else English.
int activeLanguageBase();

// Copies text textId of the active language (configBlock.languageBase, read
// at every call), terminator included, into buffer, which holds at least
// TEXT_SLOT_SIZE bytes. Returns the bytes copied: length + 1. A language
// base other than the three known ones reads English, and a text id outside
// 0..99 gives an empty text, so no lookup ever leaves the table.
int loadText(char* buffer, int textId);

// Converts the NUL-terminated Windows-1252 text in into UTF-8, truncated at a
// character boundary to fit size bytes with the terminator. The five codes
// that Windows-1252 leaves unassigned map to the C1 controls of the same
// value, as Windows itself converts them. Returns the bytes written without
// the terminator.
size_t cp1252ToUtf8(const char* in, char* out, size_t size);

// The other way: the NUL-terminated UTF-8 text in becomes Windows-1252, for
// texts that go into files in the program's 8-bit character set. A character
// Windows-1252 lacks, and a byte that is no part of a well-formed UTF-8
// sequence, become '?'. Truncated to fit size bytes with the terminator;
// returns the bytes written without it.
size_t utf8ToCp1252(const char* in, char* out, size_t size);

// loadText and cp1252ToUtf8 in one: buffer holds at least TEXT_UTF8_SIZE bytes.
void loadTextUtf8(char* buffer, int textId);

// Text id of the added texts (res/added_texts.h) in the active language,
// UTF-8 as the front ends show it.
const char* addedText(int textId);
// The same in the language of languageBase (LANG_ENGLISH, LANG_GERMAN,
// LANG_DANISH), for what is written in a language of its own (the survey
// report); any other base reads English.
const char* addedTextOf(int textId, uint16_t languageBase);
