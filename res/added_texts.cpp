// The UTF-8 bytes are written as they read: the sources are UTF-8 and every
// compiler of the project keeps narrow literals so.
#include "res/added_texts.h"

static_assert(sizeof("ä") == 3, "narrow literals are UTF-8");

namespace {

struct AddedTextRow {
    AddedTextId id;
    const char* texts[ADDED_LANGUAGE_COUNT]; // English, German, Danish
};

constexpr AddedTextRow ADDED_ROWS[] = {
    {ADDED_UNSAVED_QUESTION,
     {"The samples shown have not been saved.\nSave them first?",
      "Die angezeigten Messwerte wurden nicht gespeichert.\nZuerst speichern?",
      "De viste måleværdier er ikke gemt.\nVil du gemme dem først?"}},
    {ADDED_ANSWER_SAVE, {"&Save", "&Speichern", "&Gem"}},
    {ADDED_ANSWER_DISCARD, {"&Discard", "&Verwerfen", "&Kassér"}},
    {ADDED_NO_ACCESS, {"no access", "kein Zugriff", "ingen adgang"}},
    {ADDED_ACCESS_HINT,
     {"To use this port, add your user to the group dialout (sudo usermod -aG dialout "
      "$USER), then log out and in again.",
      "Um diesen Anschluss zu benutzen, nehmen Sie Ihren Benutzer in die Gruppe dialout auf "
      "(sudo usermod -aG dialout $USER) und melden Sie sich danach ab und wieder an.",
      "For at bruge denne port skal din bruger med i gruppen dialout (sudo usermod -aG dialout "
      "$USER); log derefter ud og ind igen."}},
    {ADDED_ANALYSIS_CAPTION, {"Analysis", "Analyse", "Analyse"}},
    {ADDED_SUMMARY_CAPTION, {"Summary", "Zusammenfassung", "Sammendrag"}},
    {ADDED_REPORT_CAPTION, {"Report", "Bericht", "Rapport"}},
    {ADDED_ANALYSIS_SCOPE, {"Samples of", "Messwerte aus", "Måleværdier fra"}},
    {ADDED_ANALYSIS_THRESHOLDS,
     {"Thresholds (%, as 80,100)", "Schwellen (%, wie 80,100)", "Grænser (%, som 80,100)"}},
    {ADDED_ANALYSIS_RATED,
     {"Rated power (kW, empty: % only)", "Nennleistung (kW, leer: nur %)",
      "Mærkeeffekt (kW, tom: kun %)"}},
    {ADDED_ANALYSIS_LIST,
     {"Double-click or Enter shows it in the charts",
      "Doppelklick oder Eingabetaste zeigt es in den Diagrammen",
      "Dobbeltklik eller Enter viser det i diagrammerne"}},
    {ADDED_ANALYSIS_COPY, {"&Copy", "&Kopieren", "&Kopiér"}},
    {ADDED_ANALYSIS_REPORT, {"&Report...", "&Bericht...", "&Rapport..."}},
    {ADDED_ANALYSIS_CLOSE, {"C&lose", "&Schließen", "&Luk"}},
};

constexpr bool rowsInIdOrder() {
    int expected = 0;
    for (const AddedTextRow& row : ADDED_ROWS)
        if (row.id != expected++)
            return false;
    return expected == ADDED_TEXT_COUNT;
}
static_assert(rowsInIdOrder(), "one row per id, in id order");

} // namespace

const char* addedTextIn(int id, int language) {
    if (id < 0 || id >= ADDED_TEXT_COUNT || language < 0 || language >= ADDED_LANGUAGE_COUNT)
        return "";
    return ADDED_ROWS[id].texts[language];
}
