// The text table as constant data. Non-ASCII letters are written as
// Windows-1252 escapes so that the bytes do not depend on the source file's
// encoding; a literal is split where the next letter would extend the escape.
#include "res/text_table.h"

namespace {

struct TextRow {
    int id;
    const char* english;
    const char* german;
    const char* danish;
};

// Ids 31 to 39, 51 to 69, 88 and 90 to 99 hold no text in any language.
constexpr TextRow TEXT_ROWS[] = {
    {0, "About",
     "\xDC"
     "ber",
     "Omkring"},
    {1, "2 minutes", "2 Minuten", "2 minutter"},
    {2, "5 minutes", "5 Minuten", "5 minutter"},
    {3, "10 minutes", "10 Minuten", "10 minutter"},
    {4, "20 minutes", "20 Minuten", "20 minutter"},
    {5, "50 minutes", "50 Minuten", "50 minutter"},
    {6, "1 hour", "1 Stunde", "1 time"},
    {7, "2 hours", "2 Stunden", "2 timer"},
    {8, "5 hours", "5 Stunden", "5 timer"},
    {9, "12 hours", "12 Stunden", "12 timer"},
    {10, "18 hours", "18 Stunden", "18 timer"},
    {11, "1 day", "1 Tag", "1 dag"},
    {12, "5 days", "5 Tage", "5 dage"},
    {13, "1 week", "1 Woche", "1 uge"},
    {14, "12 days", "12 Tage", "12 dage"},
    {15, "Vantorix Data Acquisition", "Vantorix Data Acquisition", "Vantorix Data Acquisition"},
    {16, "Acquisition interval", "Speicher Intervall", "Opsamlingsinterval"},
    {17, "kW%", "kW%", "kW%"},
    {18, "Start time", "Startzeit", "Starttid"},
    {19, "seconds", "Sekunden", "sekunder"},
    {20, "Data amount", "Datenmenge", "Datam\xE6ngde"},
    {21, "Cancel", "Abbrechen", "Afbryd"},
    {22, "Get", "Start", "Hent"},
    {23, "Data acquisition", "Daten speichern", "Dataopsamling"},
    {24, "Date", "Datum", "Dato"},
    {25, "Time", "Zeit", "Tid"},
    {26, "End time", "Endezeit", "Sluttid"},
    {27, "Transferring data, please wait...",
     "\xDC"
     "bertrage Daten, bitte warten...",
     "Overf\xF8rer data, vent venligst..."},
    {28, "Abort", "Abbrechen", "Afbryd"},
    {29, "Start:", "Anfang:", "Start:"},
    {30, "End:", "Ende:", "Slut:"},
    {40, "No communication to T596.\nTransmission of data not possible!",
     "Keine Verbindung zum T596. \xDC"
     "bertragung nicht m\xF6glich!",
     "Ingen forbindelse til T596. Overf\xF8rsel af data ikke mulig!"},
    {41, "Timeout on reception of data,\ntransmission aborted!",
     "Timeout bei Empfang der Daten\n\xDC"
     "bertragung beendet!",
     "Timeout ved modtagelse af data\nOverf\xF8rsel afbrudt!"},
    {42, "Communication", "Kommunikation", "Kommunikation"},
    {43, "Error:", "Fehler:", "Fejl:"},
    {44, "Invalid time settings!", "Ung\xFCltige Zeiteinstellungen!", "Ugyldig tidsindstilling!"},
    {45, "No data present,\naborting operation", "Keine Daten vorhanden,\nbeende Funktion",
     "Ingen data tilstede, \nafbryder funktion"},
    {46, "Saving data...", "Daten sichern...", "Gemmer data..."},
    {47, "Set Time", "Zeit einstellen", "Indstil tid"},
    {48, "Screen Dump", "Bildschirm speichern", "Sk\xE6rmdump"},
    {49, "Print", "Drucken", "Udskriv"},
    {50, "No data present", "Keine Daten vorhanden", "Ingen data tilstede"},
    {70, "Error allocating memory for bitmap", "Fehler bei Speicherreservierung f\xFCr bitmap",
     "Fejl ved reservering af hukommelse til bitmap"},
    {71, "Error retrieving BMP-color format",
     "Fehler bei der Wiederherstellung des BMP-Farbformates",
     "Fejl ved oprettelse af BMP-color formatet"},
    {72, "Error retrieving color table information",
     "Fehler bei der Wiederherstellung der Farbinformation",
     "Fejl ved oprettelse af farvetabel-information"},
    {73, "Error closing file...",
     "Fehler beim Schlie\xDF"
     "en der Datei...",
     "Fejl ved lukning af fil..."},
    {74, "Error creating the BMP-file", "Fehler beim Einrichten der BMP-Datei",
     "Fejl under oprettelse af BMP-fil"},
    {75, "Error creating an Event!", "Einrichten des Vorgangs nicht m\xF6glich!",
     "Fejl ved oprettelse af h\xE6ndelse!"},
    {76, "The received data could not be stored",
     "Die empfangenen Daten konnten nicht gespeichert werden",
     "De overf\xF8rte data kunne ikke gemmes"},
    {77, "Error opening configuration file",
     "Konfigurationseinstellungen k\xF6nnen nicht gelesen werden!",
     "Fejl ved \xE5"
     "bning af konfigurationsfil!"},
    {78, "Comm Port occupied or non-existing", "Komm. Schnittstelle besetzt oder nicht vorhanden",
     "Comm-port optaget eller ikke-eksisterende"},
    {79, "Unable to open printer", "Drucker nicht gefunden", "Kan ikke finde printer"},
    {80, "Unable to load data from disc!",
     "Daten k\xF6nnen nicht von der Festplatte geladen werden", "Data kunne ikke hentes fra disk!"},
    {81, "Error loading data from file!", "Daten k\xF6nnen nicht geladen werden!",
     "Data kunne ikke indl\xE6ses fra fil!"},
    {82, "Error loading header from file!", "Header kann nicht geladen werden!",
     "Header kunne ikke indl\xE6ses!"},
    {83, "Error printing...", "Fehler beim Drucken...", "Fejl under udskrivning..."},
    {84, "Unable to save data on disc!",
     "Daten k\xF6nnen nicht auf der Festplatte gespeichert werden!",
     "Data kan ikke gemmes p\xE5 disk!"},
    {85, "Error saving data to data file!",
     "Daten k\xF6nnen nicht in der Datei gespeichert werden!",
     "Data kunne ikke gemmes i data-fil!"},
    {86, "Error saving header to data file!", "Header kann nicht gespeichert werden!",
     "Header kan ikke gemmes i data-fil!"},
    {87, "Error Writing file to disc", "Fehler beim Speichern", "Kan ikke gemme fil p\xE5 disk"},
    {89, "T596 not found on any COM-port!", "T596 nicht gefunden", "T596 kunne ikke findes!"},
};

constexpr int lengthWithin(const char* text) {
    int length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

constexpr void place(TextTable& table, int slot, const char* text) {
    // A text that does not fit its slot stops the build here: the loop would
    // write past the slot, which a constant expression may not do.
    int length = lengthWithin(text);
    for (int i = 0; i <= length; ++i) {
        table.slots[slot][i] = text[i];
    }
}

constexpr TextTable buildTextTable() {
    TextTable table{};
    for (const TextRow& row : TEXT_ROWS) {
        place(table, LANG_ENGLISH + row.id, row.english);
        place(table, LANG_GERMAN + row.id, row.german);
        place(table, LANG_DANISH + row.id, row.danish);
    }
    return table;
}

} // namespace

constinit const TextTable textTable = buildTextTable();
