// Every message box of the catalogue in every language: text, number, caption
// and icon as the front end receives them.
#include <gtest/gtest.h>

#include <string>

#include "base/config_file.h"
#include "base/error_codes.h"
#include "base/messages.h"
#include "res/text_table.h"
#include "tests/support/scripted_frontend.h"
#include "ui/frontend.h"

namespace {

struct ShownText {
    int id;
    const char* texts[3];
};

struct CatalogueRow {
    int message;
    int caption;
    bool numbered;
};

// Texts as the user reads them, in UTF-8: {id, English, German, Danish}.
const ShownText SHOWN_TEXTS[] = {
    {15, {"Vantorix Data Acquisition", "Vantorix Data Acquisition", "Vantorix Data Acquisition"}},
    {40,
     {"No communication to T596.\nTransmission of data not possible!",
      "Keine Verbindung zum T596. Übertragung nicht möglich!",
      "Ingen forbindelse til T596. Overførsel af data ikke mulig!"}},
    {41,
     {"Timeout on reception of data,\ntransmission aborted!",
      "Timeout bei Empfang der Daten\nÜbertragung beendet!",
      "Timeout ved modtagelse af data\nOverførsel afbrudt!"}},
    {42, {"Communication", "Kommunikation", "Kommunikation"}},
    {43, {"Error:", "Fehler:", "Fejl:"}},
    {44, {"Invalid time settings!", "Ungültige Zeiteinstellungen!", "Ugyldig tidsindstilling!"}},
    {45,
     {"No data present,\naborting operation", "Keine Daten vorhanden,\nbeende Funktion",
      "Ingen data tilstede, \nafbryder funktion"}},
    {46, {"Saving data...", "Daten sichern...", "Gemmer data..."}},
    {47, {"Set Time", "Zeit einstellen", "Indstil tid"}},
    {48, {"Screen Dump", "Bildschirm speichern", "Skærmdump"}},
    {49, {"Print", "Drucken", "Udskriv"}},
    {70,
     {"Error allocating memory for bitmap", "Fehler bei Speicherreservierung für bitmap",
      "Fejl ved reservering af hukommelse til bitmap"}},
    {71,
     {"Error retrieving BMP-color format", "Fehler bei der Wiederherstellung des BMP-Farbformates",
      "Fejl ved oprettelse af BMP-color formatet"}},
    {72,
     {"Error retrieving color table information",
      "Fehler bei der Wiederherstellung der Farbinformation",
      "Fejl ved oprettelse af farvetabel-information"}},
    {73,
     {"Error closing file...", "Fehler beim Schließen der Datei...", "Fejl ved lukning af fil..."}},
    {74,
     {"Error creating the BMP-file", "Fehler beim Einrichten der BMP-Datei",
      "Fejl under oprettelse af BMP-fil"}},
    {75,
     {"Error creating an Event!", "Einrichten des Vorgangs nicht möglich!",
      "Fejl ved oprettelse af hændelse!"}},
    {76,
     {"The received data could not be stored",
      "Die empfangenen Daten konnten nicht gespeichert werden",
      "De overførte data kunne ikke gemmes"}},
    {77,
     {"Error opening configuration file",
      "Konfigurationseinstellungen können nicht gelesen werden!",
      "Fejl ved åbning af konfigurationsfil!"}},
    {78,
     {"Comm Port occupied or non-existing", "Komm. Schnittstelle besetzt oder nicht vorhanden",
      "Comm-port optaget eller ikke-eksisterende"}},
    {79, {"Unable to open printer", "Drucker nicht gefunden", "Kan ikke finde printer"}},
    {80,
     {"Unable to load data from disc!", "Daten können nicht von der Festplatte geladen werden",
      "Data kunne ikke hentes fra disk!"}},
    {81,
     {"Error loading data from file!", "Daten können nicht geladen werden!",
      "Data kunne ikke indlæses fra fil!"}},
    {82,
     {"Error loading header from file!", "Header kann nicht geladen werden!",
      "Header kunne ikke indlæses!"}},
    {83, {"Error printing...", "Fehler beim Drucken...", "Fejl under udskrivning..."}},
    {84,
     {"Unable to save data on disc!", "Daten können nicht auf der Festplatte gespeichert werden!",
      "Data kan ikke gemmes på disk!"}},
    {85,
     {"Error saving data to data file!", "Daten können nicht in der Datei gespeichert werden!",
      "Data kunne ikke gemmes i data-fil!"}},
    {86,
     {"Error saving header to data file!", "Header kann nicht gespeichert werden!",
      "Header kan ikke gemmes i data-fil!"}},
    {87, {"Error Writing file to disc", "Fehler beim Speichern", "Kan ikke gemme fil på disk"}},
    {89, {"T596 not found on any COM-port!", "T596 nicht gefunden", "T596 kunne ikke findes!"}},
};
// {message, caption, carries a number}
const CatalogueRow CATALOGUE[] = {
    {40, 15, false}, {41, 15, false}, {44, 47, false}, {45, 46, false}, {45, 47, false},
    {45, 48, false}, {45, 49, false}, {70, 48, false}, {71, 48, false}, {72, 48, false},
    {73, 48, false}, {74, 48, true},  {75, 15, true},  {76, 15, true},  {77, 43, true},
    {78, 42, false}, {79, 43, false}, {80, 43, true},  {81, 15, false}, {82, 15, false},
    {83, 43, true},  {84, 43, true},  {85, 15, false}, {86, 15, false}, {87, 48, false},
    {89, 42, false},
};

const char* shown(int id, int language) {
    for (const ShownText& row : SHOWN_TEXTS) {
        if (row.id == id) {
            return row.texts[language];
        }
    }
    return nullptr;
}

constexpr uint16_t LANGUAGE_BASES[3] = {LANG_ENGLISH, LANG_GERMAN, LANG_DANISH};

class MessageBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        scriptedReset();
        configBlock = ConfigBlock{};
    }
    void TearDown() override { configBlock = ConfigBlock{}; }

    const ScriptedMessageBox& only() {
        EXPECT_EQ(scripted.messageBoxes.size(), 1u);
        return scripted.messageBoxes.back();
    }
};

TEST_F(MessageBoxes, EveryCatalogueRowInEveryLanguage) {
    for (int language = 0; language < 3; ++language) {
        configBlock.languageBase = LANGUAGE_BASES[language];
        for (const CatalogueRow& row : CATALOGUE) {
            SCOPED_TRACE(testing::Message() << "language " << language << " message " << row.message
                                            << " caption " << row.caption);
            scriptedReset();
            int32_t number = row.numbered ? 30003 : 0;
            showMessage(row.message, row.caption, number);
            std::string expected = shown(row.message, language);
            if (row.numbered) {
                expected += ": 30003";
            }
            const ScriptedMessageBox& box = only();
            EXPECT_EQ(box.text, expected);
            EXPECT_EQ(box.caption, shown(row.caption, language));
            EXPECT_EQ(box.icon, row.message < 70 ? MB_ICONINFORMATION : MB_ICONHAND);
        }
    }
}

TEST_F(MessageBoxes, ConfigurationErrorWithItsNumber) {
    showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, ERR_CONFIG_SIZE);
    ASSERT_EQ(scripted.calls.size(), 1u);
    EXPECT_EQ(scripted.calls[0], "messageBox|Error opening configuration file: 30003|Error:|16");
}

TEST_F(MessageBoxes, NoDataShowsTwoLinesWithTheInformationIcon) {
    showMessage(MSG_NO_DATA, CAPTION_SAVING, 0);
    EXPECT_EQ(only().text, "No data present,\naborting operation");
    EXPECT_EQ(only().caption, "Saving data...");
    EXPECT_EQ(only().icon, MB_ICONINFORMATION);
}

TEST_F(MessageBoxes, DanishNoDataKeepsTheBlankBeforeTheBreak) {
    configBlock.languageBase = LANG_DANISH;
    showMessage(MSG_NO_DATA, CAPTION_PRINT, 0);
    EXPECT_EQ(only().text, "Ingen data tilstede, \nafbryder funktion");
    EXPECT_EQ(only().caption, "Udskriv");
}

TEST_F(MessageBoxes, GermanPortFailureAndTheUnbrokenMessage40) {
    configBlock.languageBase = LANG_GERMAN;
    showMessage(MSG_PORT_FAILED, CAPTION_COMMUNICATION, 0);
    showMessage(MSG_NO_COMMUNICATION, TEXT_PROGRAM_TITLE, 0);
    ASSERT_EQ(scripted.messageBoxes.size(), 2u);
    EXPECT_EQ(scripted.messageBoxes[0].text, "Komm. Schnittstelle besetzt oder nicht vorhanden");
    EXPECT_EQ(scripted.messageBoxes[0].caption, "Kommunikation");
    EXPECT_EQ(scripted.messageBoxes[1].text,
              "Keine Verbindung zum T596. Übertragung nicht möglich!");
}

TEST_F(MessageBoxes, NegativeAndExtremeNumbersKeepTheirSign) {
    showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, -5);
    showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, INT32_MIN);
    showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, INT32_MAX);
    ASSERT_EQ(scripted.messageBoxes.size(), 3u);
    EXPECT_EQ(scripted.messageBoxes[0].text, "Unable to save data on disc!: -5");
    EXPECT_EQ(scripted.messageBoxes[1].text, "Unable to save data on disc!: -2147483648");
    EXPECT_EQ(scripted.messageBoxes[2].text, "Unable to save data on disc!: 2147483647");
}

TEST_F(MessageBoxes, LongestMessageKeepsItsWholeNumber) {
    // The longest text of the table with the longest number.
    configBlock.languageBase = LANG_GERMAN;
    showMessage(MSG_SAVE_FAILED, CAPTION_ERROR, INT32_MIN);
    EXPECT_EQ(only().text,
              "Daten können nicht auf der Festplatte gespeichert werden!: -2147483648");
}

TEST_F(MessageBoxes, TheIconFollowsTheMessageIdNotTheCaption) {
    showMessage(69, CAPTION_ERROR, 0);
    showMessage(70, TEXT_PROGRAM_TITLE, 0);
    ASSERT_EQ(scripted.messageBoxes.size(), 2u);
    EXPECT_EQ(scripted.messageBoxes[0].icon, MB_ICONINFORMATION);
    EXPECT_EQ(scripted.messageBoxes[1].icon, MB_ICONHAND);
}

} // namespace
