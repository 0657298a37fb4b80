// The menus are written in UTF-8, the encoding the front ends show, and keep
// the order of the bar: File (with Export nested), Communication, Data
// acquisition, Print, Language, then About as a command on the bar itself,
// then Analysis.
#include "res/menu_table.h"

#include <iterator>

#include "res/resource_ids.h"

namespace {

constexpr MenuTemplateRow popup(const char* english, const char* german, const char* danish) {
    return {MENU_POPUP_BEGIN, 0, {english, german, danish}};
}
constexpr MenuTemplateRow item(int commandId, const char* english, const char* german,
                               const char* danish) {
    return {MENU_ITEM, commandId, {english, german, danish}};
}
constexpr MenuTemplateRow sameItem(int commandId, const char* text) {
    return item(commandId, text, text, text);
}
constexpr MenuTemplateRow SEPARATOR = {MENU_SEPARATOR, 0, {"", "", ""}};
constexpr MenuTemplateRow END = {MENU_POPUP_END, 0, {"", "", ""}};

} // namespace

const MenuTemplateRow menuTemplate[] = {
    popup("&File", "&Datei", "&Fil"),
    item(IDM_SAVE, "&Save", "&Sichern", "&Gem"),
    item(IDM_OPEN, "&Open", "&Laden", "&Åben"),
    popup("&Export", "&Export", "&Eksporter"),
    item(IDM_EXPORT_ZOOM, "&Zoom window", "&Zoom Fenster", "&Zoomvindue"),
    item(IDM_EXPORT_MAIN, "&Main window", "&Haupt Fenster", "&Hovedvindue"),
    item(IDM_EXPORT_ALL, "&All", "&Alles", "&Alt"),
    END,
    SEPARATOR,
    item(IDM_EXIT, "&Exit", "&Beenden", "&Afslut"),
    END,

    popup("&Communication", "&Kommunikation", "&Kommunikation"),
    sameItem(IDM_COM_BASE + 1, "COM &1"),
    sameItem(IDM_COM_BASE + 2, "COM &2"),
    sameItem(IDM_COM_BASE + 3, "COM &3"),
    sameItem(IDM_COM_BASE + 4, "COM &4"),
    sameItem(IDM_COM_BASE + 5, "COM &5"),
    sameItem(IDM_COM_BASE + 6, "COM &6"),
    sameItem(IDM_COM_BASE + 7, "COM &7"),
    sameItem(IDM_COM_BASE + 8, "COM &8"),
    SEPARATOR,
    item(IDM_AUTO_CONNECT, "&Auto connect", "&Auto Anschluss", "&Autokonnekt"),
    END,

    popup("&Data acquisition", "Da&ten", "&Dataopsamling"),
    item(IDM_TRANSFER, "&Transfer", "&Übertragen", "&Overfør"),
    item(IDM_SET_TIME, "&Set time", "&Zeit einstellen", "&Indstil tid"),
    END,

    popup("&Print", "&Drucken", "&Udskriv"),
    item(IDM_SCREEN_DUMP, "&Screen dump", "&Screen dump", "&Skærmdump"),
    item(IDM_PRINT, "&Printer", "&Drucker", "&Printer"),
    END,

    popup("&Language", "&Sprache", "&Sprog"),
    item(IDM_LANG_ENGLISH, "&English", "&Englisch", "&Engelsk"),
    item(IDM_LANG_GERMAN, "&German", "&Deutsch", "&Tysk"),
    item(IDM_LANG_DANISH, "&Danish", "Dä&nisch", "&Dansk"),
    END,

    item(IDM_ABOUT, "&About", "&Über", "&Omkring"),

    // Appended after About, so every item before it keeps its place.
    popup("A&nalysis", "&Analyse", "&Analyse"),
    item(IDM_ANALYSIS_SUMMARY, "&Summary...", "&Zusammenfassung...", "&Sammendrag..."),
    item(IDM_ANALYSIS_REPORT, "&Report...", "&Bericht...", "&Rapport..."),
    END,
};
static_assert(std::size(menuTemplate) == MENU_TEMPLATE_ROWS, "the bar has every row, no padding");
