// Every user-visible text that is not part of a menu, the window title or a
// fixed dialog template, by text id, in three languages. The texts are
// Windows-1252 bytes; base/texts.h turns them into UTF-8 for display.
#pragma once
#include <cstdint>

constexpr int TEXT_SLOTS_PER_LANGUAGE = 100;
constexpr int TEXT_LANGUAGE_COUNT = 3;
constexpr int TEXT_SLOT_COUNT = TEXT_SLOTS_PER_LANGUAGE * TEXT_LANGUAGE_COUNT;
constexpr int TEXT_SLOT_SIZE = 64; // 63 characters and the terminator

// Language bases: text id n of a language is slot base + n.
constexpr uint16_t LANG_ENGLISH = 0;
constexpr uint16_t LANG_GERMAN = 100;
constexpr uint16_t LANG_DANISH = 200;

// Slot layout: English 0..99, German 100..199, Danish 200..299. A slot that
// holds no text is all zero.
struct TextTable {
    char slots[TEXT_SLOT_COUNT][TEXT_SLOT_SIZE];
};
extern const TextTable textTable;

// Text ids with a fixed role
constexpr int TEXT_ABOUT = 0;
constexpr int TEXT_SPAN_FIRST = 1; // the 14 span names, in AmountTable order
constexpr int TEXT_SPAN_LAST = 14;
constexpr int TEXT_PROGRAM_TITLE = 15;
constexpr int TEXT_INTERVAL = 16;   // the acquisition dialog's label and the export's line 1
constexpr int TEXT_UNIT = 17;       // the export's line 3
constexpr int TEXT_START_TIME = 18; // the set-time button and the export's line 2
constexpr int TEXT_SECONDS = 19;
constexpr int TEXT_DATA_AMOUNT = 20;
constexpr int TEXT_CANCEL = 21;
constexpr int TEXT_GET = 22;
constexpr int TEXT_ACQUISITION_TITLE = 23;
constexpr int TEXT_DATE = 24;
constexpr int TEXT_TIME = 25;
constexpr int TEXT_END_TIME = 26;
constexpr int TEXT_TRANSFERRING = 27;
constexpr int TEXT_ABORT = 28;
constexpr int TEXT_START_CAPTION = 29; // the time labels' captions
constexpr int TEXT_END_CAPTION = 30;

// Message and caption ids of the message catalogue
constexpr int MSG_NO_COMMUNICATION = 40;
constexpr int MSG_COUNT_TIMEOUT = 41;
constexpr int CAPTION_COMMUNICATION = 42;
constexpr int CAPTION_ERROR = 43;
constexpr int MSG_INVALID_TIME = 44;
constexpr int MSG_NO_DATA = 45;
constexpr int CAPTION_SAVING = 46;
constexpr int CAPTION_SET_TIME = 47;
constexpr int CAPTION_SCREEN_DUMP = 48;
constexpr int CAPTION_PRINT = 49;
constexpr int TEXT_EMPTY_CHART = 50;
constexpr int MSG_BITMAP_MEMORY = 70;
constexpr int MSG_BITMAP_FORMAT = 71;
constexpr int MSG_BITMAP_COLOURS = 72;
constexpr int MSG_FILE_CLOSE = 73;
constexpr int MSG_BMP_CREATE = 74;
constexpr int MSG_EVENT_CREATE = 75;
constexpr int MSG_EXPORT_WRITE = 76;
constexpr int MSG_CONFIG_FILE = 77;
constexpr int MSG_PORT_FAILED = 78;
constexpr int MSG_NO_PRINTER = 79;
constexpr int MSG_DATA_LOAD = 80;
constexpr int MSG_DATA_RECORDS_SHORT = 81;
constexpr int MSG_DATA_HEADER_SHORT = 82;
constexpr int MSG_PRINT_FAILED = 83;
constexpr int MSG_SAVE_FAILED = 84;
constexpr int MSG_DATA_RECORDS_WRITE = 85;
constexpr int MSG_DATA_HEADER_WRITE = 86;
constexpr int MSG_BMP_WRITE = 87;
constexpr int MSG_DEVICE_NOT_FOUND = 89;
// Messages from this id up carry the stop icon, those below the information icon.
constexpr int MSG_FIRST_ERROR = 70;
