#include "output/report_words.h"

#include "res/text_table.h"

namespace {

// English, German, Danish.
const char* const WORDS[RW_COUNT][3] = {
    {"Load survey", "Lastmessung", "Belastningsmåling"},
    {"File", "Datei", "Fil"},
    {"Logger interval", "Messintervall", "Logningsinterval"},
    {"First stamp", "Erster Zeitstempel", "Første tidsstempel"},
    {"Last stamp", "Letzter Zeitstempel", "Sidste tidsstempel"},
    {"Records", "Datensätze", "Poster"},
    {"Value samples", "Messwerte", "Måleværdier"},
    {"Rated power", "Nennleistung", "Mærkeeffekt"},
    {"not given", "nicht angegeben", "ikke angivet"},
    {"Demand period", "Mittelungsperiode", "Middelperiode"},
    {"minutes", "Minuten", "minutter"},
    {"Made", "Erstellt", "Udarbejdet"},
    {"Summary", "Übersicht", "Oversigt"},
    {"Figure", "Größe", "Størrelse"},
    {"Value", "Wert", "Værdi"},
    {"Time", "Zeit", "Tidspunkt"},
    {"Minimum", "Minimum", "Minimum"},
    {"Maximum", "Maximum", "Maksimum"},
    {"Mean", "Mittelwert", "Middelværdi"},
    {"Maximum demand", "Höchste mittlere Last", "Højeste middelbelastning"},
    {"Load factor", "Lastfaktor", "Belastningsfaktor"},
    {"Time covered by values", "Von Messwerten abgedeckte Zeit", "Tid dækket af måleværdier"},
    {"Energy", "Energie", "Energi"},
    {"At or above", "Bei oder über", "På eller over"},
    {"Samples", "Messwerte", "Måleværdier"},
    {"Seconds", "Sekunden", "Sekunder"},
    {"Share", "Anteil", "Andel"},
    {"Markers", "Markierungen", "Markeringer"},
    {"Gaps", "Lücken", "Huller"},
    {"The whole record", "Der gesamte Verlauf", "Hele forløbet"},
    {"Lowest and highest value of each column; thresholds as lines, excursions shaded, "
     "markers as ticks at the top",
     "Kleinster und größter Wert jeder Spalte; Schwellen als Linien, Überschreitungen "
     "schattiert, Markierungen als Striche oben",
     "Mindste og største værdi i hver kolonne; grænser som linjer, overskridelser skraveret, "
     "markeringer som streger foroven"},
    {"Daily profile", "Tagesprofil", "Døgnprofil"},
    {"Mean of the counting demand blocks at each time of day, with the band from their "
     "minimum to their maximum",
     "Mittelwert der gültigen Blöcke zu jeder Uhrzeit, mit dem Band von ihrem Minimum bis "
     "zu ihrem Maximum",
     "Middelværdi af de gyldige blokke på hvert klokkeslæt, med båndet fra deres minimum til "
     "deres maksimum"},
    {"Working days (Monday to Friday)", "Werktage (Montag bis Freitag)",
     "Hverdage (mandag til fredag)"},
    {"Weekends", "Wochenenden", "Weekender"},
    {"Heat map", "Wärmebild", "Varmekort"},
    {"Mean of each demand block, a row per day; blank where a block does not count",
     "Mittelwert jedes Blocks, eine Zeile je Tag; leer, wo ein Block nicht zählt",
     "Middelværdi af hver blok, en række pr. dag; tom hvor en blok ikke tæller"},
    {"Load duration curve", "Dauerlinie", "Varighedskurve"},
    {"The value reached during the given share of the time",
     "Der Wert, der während des "
     "angegebenen Zeitanteils erreicht wird",
     "Den værdi, der nås i den angivne andel af tiden"},
    {"Share of time", "Zeitanteil", "Tidsandel"},
    {"Demand blocks", "Blöcke", "Blokke"},
    {"The ten highest demand blocks", "Die zehn höchsten Blöcke", "De ti højeste blokke"},
    {"Start", "Beginn", "Start"},
    {"End", "Ende", "Slut"},
    {"Excursions", "Überschreitungen", "Overskridelser"},
    {"Runs at or above each threshold in time order; a gap ends a run, a marker does not",
     "Verläufe bei oder über jeder Schwelle in zeitlicher Folge; eine Lücke beendet einen "
     "Verlauf, eine Markierung nicht",
     "Forløb på eller over hver grænse i tidsorden; et hul afslutter et forløb, en markering "
     "ikke"},
    {"Threshold", "Schwelle", "Grænse"},
    {"Peak", "Spitze", "Spids"},
    {"Time of peak", "Zeit der Spitze", "Tidspunkt for spids"},
    {"Above threshold (%h)", "Über der Schwelle (%h)", "Over grænsen (%h)"},
    {"Above threshold (kWh)", "Über der Schwelle (kWh)", "Over grænsen (kWh)"},
    {"Mean before", "Mittelwert davor", "Middelværdi før"},
    {"more", "weitere", "flere"},
    {"none", "keine", "ingen"},
    {"Code", "Code", "Kode"},
    {"Date", "Datum", "Dato"},
    {"Time of day", "Uhrzeit", "Klokkeslæt"},
    {"no calendar time", "keine Kalenderzeit", "ingen kalendertid"},
    {"No records", "Keine Datensätze", "Ingen poster"},
    {"by", "mit", "med"},
};

} // namespace

const char* reportWord(ReportWord word, uint16_t languageBase) {
    const int language = languageBase == LANG_GERMAN ? 1 : languageBase == LANG_DANISH ? 2 : 0;
    return WORDS[word][language];
}
