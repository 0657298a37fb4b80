// The menu bar in three languages. Every language has the same items with the
// same command ids in the same places, so routing never depends on the
// language; only the texts differ.
#pragma once
#include <cstdint>

enum MenuEntryKind {
    MENU_POPUP_BEGIN, // opens a popup titled text; entries up to its MENU_POPUP_END belong to it
    MENU_ITEM,        // a command: commandId and text
    MENU_SEPARATOR,
    MENU_POPUP_END,
};

constexpr int MENU_TEXT_SIZE = 160;

// One entry of a menu bar as the front end receives it. Text is UTF-8, "&"
// marks the mnemonic letter, and a tab separates a hint shown at the right
// of the item (the device a COM item stands for).
struct MenuEntry {
    MenuEntryKind kind;
    int commandId; // MENU_ITEM only, else 0
    char text[MENU_TEXT_SIZE];
};

// The menu bar as the program carries it: one row per entry with the text of
// each language, English, German, Danish.
struct MenuTemplateRow {
    MenuEntryKind kind;
    int commandId;
    const char* texts[3];
};

constexpr int MENU_LANGUAGE_COUNT = 3;
constexpr int MENU_TEMPLATE_ROWS = 41;
extern const MenuTemplateRow menuTemplate[];
