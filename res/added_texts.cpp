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
    {ADDED_DEFAULT_TITLE, {"Load survey", "Lastmessung", "Belastningsmåling"}},
    {ADDED_FILE, {"File", "Datei", "Fil"}},
    {ADDED_INTERVAL, {"Logger interval", "Messintervall", "Logningsinterval"}},
    {ADDED_FIRST, {"First stamp", "Erster Zeitstempel", "Første tidsstempel"}},
    {ADDED_LAST, {"Last stamp", "Letzter Zeitstempel", "Sidste tidsstempel"}},
    {ADDED_RECORDS, {"Records", "Datensätze", "Poster"}},
    {ADDED_VALUE_SAMPLES, {"Value samples", "Messwerte", "Måleværdier"}},
    {ADDED_RATING, {"Rated power", "Nennleistung", "Mærkeeffekt"}},
    {ADDED_NOT_GIVEN, {"not given", "nicht angegeben", "ikke angivet"}},
    {ADDED_DEMAND_PERIOD, {"Demand period", "Mittelungsperiode", "Middelperiode"}},
    {ADDED_MINUTES, {"minutes", "Minuten", "minutter"}},
    {ADDED_MADE, {"Made", "Erstellt", "Udarbejdet"}},
    {ADDED_SUMMARY, {"Summary", "Übersicht", "Oversigt"}},
    {ADDED_FIGURE, {"Figure", "Größe", "Størrelse"}},
    {ADDED_VALUE, {"Value", "Wert", "Værdi"}},
    {ADDED_TIME, {"Time", "Zeit", "Tidspunkt"}},
    {ADDED_MINIMUM, {"Minimum", "Minimum", "Minimum"}},
    {ADDED_MAXIMUM, {"Maximum", "Maximum", "Maksimum"}},
    {ADDED_MEAN, {"Mean", "Mittelwert", "Middelværdi"}},
    {ADDED_MAX_DEMAND, {"Maximum demand", "Höchste mittlere Last", "Højeste middelbelastning"}},
    {ADDED_LOAD_FACTOR, {"Load factor", "Lastfaktor", "Belastningsfaktor"}},
    {ADDED_COVERED,
     {"Time covered by values", "Von Messwerten abgedeckte Zeit", "Tid dækket af måleværdier"}},
    {ADDED_ENERGY, {"Energy", "Energie", "Energi"}},
    {ADDED_AT_OR_ABOVE, {"At or above", "Bei oder über", "På eller over"}},
    {ADDED_SAMPLES, {"Samples", "Messwerte", "Måleværdier"}},
    {ADDED_SECONDS, {"Seconds", "Sekunden", "Sekunder"}},
    {ADDED_SHARE, {"Share", "Anteil", "Andel"}},
    {ADDED_MARKERS, {"Markers", "Markierungen", "Markeringer"}},
    {ADDED_GAPS, {"Gaps", "Lücken", "Huller"}},
    {ADDED_RECORD_CHART, {"The whole record", "Der gesamte Verlauf", "Hele forløbet"}},
    {ADDED_RECORD_NOTE,
     {"Lowest and highest value of each column; thresholds as lines, excursions shaded, "
      "markers as ticks at the top",
      "Kleinster und größter Wert jeder Spalte; Schwellen als Linien, Überschreitungen "
      "schattiert, Markierungen als Striche oben",
      "Mindste og største værdi i hver kolonne; grænser som linjer, overskridelser skraveret, "
      "markeringer som streger foroven"}},
    {ADDED_PROFILE, {"Daily profile", "Tagesprofil", "Døgnprofil"}},
    {ADDED_PROFILE_NOTE,
     {"Mean of the counting demand blocks at each time of day, with the band from their "
      "minimum to their maximum",
      "Mittelwert der gültigen Blöcke zu jeder Uhrzeit, mit dem Band von ihrem Minimum bis "
      "zu ihrem Maximum",
      "Middelværdi af de gyldige blokke på hvert klokkeslæt, med båndet fra deres minimum til "
      "deres maksimum"}},
    {ADDED_WORKDAYS,
     {"Working days (Monday to Friday)", "Werktage (Montag bis Freitag)",
      "Hverdage (mandag til fredag)"}},
    {ADDED_WEEKENDS, {"Weekends", "Wochenenden", "Weekender"}},
    {ADDED_HEATMAP, {"Heat map", "Wärmebild", "Varmekort"}},
    {ADDED_HEATMAP_NOTE,
     {"Mean of each demand block, a row per day; blank where a block does not count",
      "Mittelwert jedes Blocks, eine Zeile je Tag; leer, wo ein Block nicht zählt",
      "Middelværdi af hver blok, en række pr. dag; tom hvor en blok ikke tæller"}},
    {ADDED_DURATION, {"Load duration curve", "Dauerlinie", "Varighedskurve"}},
    {ADDED_DURATION_NOTE,
     {"The value reached during the given share of the time",
      "Der Wert, der während des "
      "angegebenen Zeitanteils erreicht wird",
      "Den værdi, der nås i den angivne andel af tiden"}},
    {ADDED_SHARE_OF_TIME, {"Share of time", "Zeitanteil", "Tidsandel"}},
    {ADDED_BLOCKS, {"Demand blocks", "Blöcke", "Blokke"}},
    {ADDED_TOP_BLOCKS,
     {"The ten highest demand blocks", "Die zehn höchsten Blöcke", "De ti højeste blokke"}},
    {ADDED_START, {"Start", "Beginn", "Start"}},
    {ADDED_END, {"End", "Ende", "Slut"}},
    {ADDED_EXCURSIONS, {"Excursions", "Überschreitungen", "Overskridelser"}},
    {ADDED_EXCURSIONS_NOTE,
     {"Runs at or above each threshold in time order; a gap ends a run, a marker does not",
      "Verläufe bei oder über jeder Schwelle in zeitlicher Folge; eine Lücke beendet einen "
      "Verlauf, eine Markierung nicht",
      "Forløb på eller over hver grænse i tidsorden; et hul afslutter et forløb, en markering "
      "ikke"}},
    {ADDED_THRESHOLD, {"Threshold", "Schwelle", "Grænse"}},
    {ADDED_PEAK, {"Peak", "Spitze", "Spids"}},
    {ADDED_PEAK_TIME, {"Time of peak", "Zeit der Spitze", "Tidspunkt for spids"}},
    {ADDED_ABOVE_PERCENT_HOURS,
     {"Above threshold (%h)", "Über der Schwelle (%h)", "Over grænsen (%h)"}},
    {ADDED_ABOVE_KWH, {"Above threshold (kWh)", "Über der Schwelle (kWh)", "Over grænsen (kWh)"}},
    {ADDED_BEFORE, {"Mean before", "Mittelwert davor", "Middelværdi før"}},
    {ADDED_MORE, {"more", "weitere", "flere"}},
    {ADDED_NONE, {"none", "keine", "ingen"}},
    {ADDED_CODE, {"Code", "Code", "Kode"}},
    {ADDED_DATE, {"Date", "Datum", "Dato"}},
    {ADDED_TIME_OF_DAY, {"Time of day", "Uhrzeit", "Klokkeslæt"}},
    {ADDED_NO_CALENDAR_TIME, {"no calendar time", "keine Kalenderzeit", "ingen kalendertid"}},
    {ADDED_NO_DATA, {"No records", "Keine Datensätze", "Ingen poster"}},
    {ADDED_MADE_BY, {"by", "mit", "med"}},
    {ADDED_NOTICE_WRITTEN_WITHOUT_COPY,
     {"written in place: no copy of the old content could be kept beside it",
      "an Ort und Stelle geschrieben: daneben konnte keine Kopie des alten Inhalts angelegt werden",
      "skrevet på stedet: der kunne ikke gemmes en kopi af det gamle indhold ved siden af"}},
    {ADDED_NOTICE_NEW_UNCONFIRMED,
     {"the new content is in place but not confirmed on the disk",
      "der neue Inhalt steht in der Datei, ist aber nicht auf der Platte bestätigt",
      "det nye indhold står i filen, men er ikke bekræftet på disken"}},
    {ADDED_NOTICE_OLD_AND_NEW_TAIL,
     {"it holds its old content followed by %llu bytes of the new; the old content alone is in %s",
      "sie enthält ihren alten Inhalt, gefolgt von %llu Bytes des neuen; der alte Inhalt allein "
      "steht in %s",
      "den indeholder sit gamle indhold efterfulgt af %llu byte af det nye; det gamle indhold "
      "alene ligger i %s"}},
    {ADDED_NOTICE_OLD_AND_NEW_TAIL_NO_COPY,
     {"it holds its old content followed by %llu bytes of the new; no copy of the old content "
      "alone could be kept",
      "sie enthält ihren alten Inhalt, gefolgt von %llu Bytes des neuen; eine Kopie des alten "
      "Inhalts allein konnte nicht angelegt werden",
      "den indeholder sit gamle indhold efterfulgt af %llu byte af det nye; en kopi af det gamle "
      "indhold alene kunne ikke gemmes"}},
    {ADDED_NOTICE_MIXED,
     {"it holds part of the new content; its old content is in %s",
      "sie enthält einen Teil des neuen Inhalts; ihr alter Inhalt steht in %s",
      "den indeholder en del af det nye indhold; dens gamle indhold ligger i %s"}},
    {ADDED_NOTICE_MIXED_NO_COPY,
     {"it holds part of the new content; its old content is lost, as no copy could be kept "
      "beside it",
      "sie enthält einen Teil des neuen Inhalts; ihr alter Inhalt ist verloren, da daneben keine "
      "Kopie angelegt werden konnte",
      "den indeholder en del af det nye indhold; dens gamle indhold er tabt, da der ikke kunne "
      "gemmes en kopi ved siden af"}},
    {ADDED_NOTICE_OLD_WITH_COPY,
     {"its old content is back but not confirmed on the disk; a copy of it is in %s",
      "ihr alter Inhalt ist zurück, aber nicht auf der Platte bestätigt; eine Kopie davon steht "
      "in %s",
      "dens gamle indhold er tilbage, men ikke bekræftet på disken; en kopi af det ligger i %s"}},
    {ADDED_NOTICE_NOTHING,
     {"the file is gone; the new content is in %s",
      "die Datei ist fort; der neue Inhalt steht in %s",
      "filen er væk; det nye indhold ligger i %s"}},
    {ADDED_NOTICE_HELD,
     {"another program kept writing it; waited %d s for it",
      "ein anderes Programm schrieb sie weiter; %d s darauf gewartet",
      "et andet program blev ved med at skrive den; ventede %d s på det"}},
    {ADDED_MARKER, {"marker", "Marker", "markør"}},
    {ADDED_GAP, {"gap", "Lücke", "hul"}},
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
