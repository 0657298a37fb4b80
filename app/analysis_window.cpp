#include "app/analysis_window.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/analysis_settings.h"
#include "app/chart_jump.h"
#include "base/messages.h"
#include "base/texts.h"
#include "data/csv_export.h"
#include "data/load_excursions.h"
#include "data/load_request_text.h"
#include "data/sample_store.h"
#include "data/time_base.h"
#include "output/summary_figures.h"
#include "output/summary_text.h"
#include "res/added_texts.h"
#include "res/menu_table.h"
#include "res/resource_ids.h"
#include "res/text_table.h"
#include "ui/frontend.h"
#include "view/chart_drawing.h"
#include "view/chart_view.h"

namespace {

// The list names the first excursions and how many more there are: a
// threshold near the usual load can give thousands.
constexpr int LIST_EXCURSIONS_MOST = 200;
constexpr int LIST_ROWS_MOST = LIST_EXCURSIONS_MOST + 3; // peak, demand, more
constexpr int ROW_SIZE = 256;
constexpr int FIGURES_SIZE = 4096;
constexpr int64_t NO_TARGET = -1;

struct AnalysisState {
    bool open;
    bool settingsLoaded;
    bool jumping;    // the charts move step by step; follow once at the end
    bool saveFailed; // said once, not at every key typed
    int scope = ANALYSIS_ALL;
    LoadSummaryRequest request;

    // What the window shows and what it was worked out from.
    bool shown;
    RecordScope shownScope;
    LoadSummaryRequest shownRequest;
    uint32_t shownGeneration;
    int textsLanguage = -1;
    LoadSummary summary;
    int rowCount;
    char rows[LIST_ROWS_MOST][ROW_SIZE];
    int64_t rowTarget[LIST_ROWS_MOST];
    char figures[FIGURES_SIZE];
};

AnalysisState state;

void ensureSettings() {
    if (!state.settingsLoaded) {
        state.request = loadAnalysisSettings();
        state.settingsLoaded = true;
    }
}

bool sameRequest(const LoadSummaryRequest& a, const LoadSummaryRequest& b) {
    return a.demandMinutes == b.demandMinutes && a.thresholdCount == b.thresholdCount &&
           a.ratedMilliKw == b.ratedMilliKw &&
           std::equal(a.thresholds, a.thresholds + a.thresholdCount, b.thresholds);
}

const char* word(int id) {
    return addedText(id);
}

// A menu item's text in the active language, for the scopes Export names.
const char* menuText(int commandId) {
    const int language = activeLanguageBase() / TEXT_SLOTS_PER_LANGUAGE;
    for (int row = 0; row < MENU_TEMPLATE_ROWS; ++row)
        if (menuTemplate[row].kind == MENU_ITEM && menuTemplate[row].commandId == commandId)
            return menuTemplate[row].texts[language];
    return "";
}

void copyText(char* to, const char* from) {
    std::snprintf(to, DIALOG_TEXT_SIZE, "%s", from);
}

// A figure with the language's decimal mark: a comma in German and Danish.
Figure number(uint64_t scaled, int decimals) {
    Figure out = decimal(scaled, decimals);
    if (activeLanguageBase() != LANG_ENGLISH)
        std::replace(out.text, out.text + std::strlen(out.text), '.', ',');
    return out;
}

Figure when(const SampleRecord& record) {
    char iso[CSV_STAMP_SIZE];
    if (csvStampText(record, iso) == 0)
        return figure("%s", word(ADDED_NO_CALENDAR_TIME));
    iso[10] = ' ';
    return figure("%s", iso);
}

// " = 467,50 kW" after a percent, with a rated power.
Figure inKw(uint64_t kwHundredths) {
    if (state.request.ratedMilliKw == 0)
        return figure("%s", "");
    return figure(" = %s kW", number(kwHundredths, 2).text);
}

Figure duration(uint64_t hundredths) {
    const uint64_t seconds = hundredths / 100;
    return figure("%llu:%02u:%02u%s%02u", (unsigned long long)(seconds / 3600),
                  unsigned(seconds / 60 % 60), unsigned(seconds % 60),
                  activeLanguageBase() == LANG_ENGLISH ? "." : ",", unsigned(hundredths % 100));
}

struct FigureLines {
    size_t used;
    void line(const char* label, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        char value[ROW_SIZE];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(value, sizeof value, format, arguments);
        va_end(arguments);
        const int written =
            std::snprintf(state.figures + used, FIGURES_SIZE - used, "%s: %s\n", label, value);
        used = std::min(size_t(FIGURES_SIZE - 1), used + size_t(std::max(written, 0)));
    }
};

void composeFigures(uint32_t excursions) {
    const LoadSummary& s = state.summary;
    FigureLines out{0};
    state.figures[0] = '\0';
    out.line(word(ADDED_RECORDS), "%u", s.count);
    if (s.count == 0)
        return;
    out.line(word(ADDED_VALUE_SAMPLES), "%u", s.values);
    out.line(word(ADDED_FIRST), "%s", when(sampleStore[s.first]).text);
    out.line(word(ADDED_LAST), "%s", when(sampleStore[s.first + s.count - 1]).text);
    if (s.values > 0) {
        out.line(word(ADDED_MINIMUM), "%u %% (%s)", s.minimum,
                 when(sampleStore[s.minimumIndex]).text);
        out.line(word(ADDED_MAXIMUM), "%u %%%s (%s)", s.maximum, inKw(s.maxKwHundredths).text,
                 when(sampleStore[s.maximumIndex]).text);
        out.line(word(ADDED_MEAN), "%s %%%s", number(s.meanHundredths, 2).text,
                 inKw(s.meanKwHundredths).text);
    }
    if (s.demandFound)
        out.line(word(ADDED_MAX_DEMAND), "%s %%%s (%u %s, %s)",
                 number(s.maxDemandHundredths, 2).text, inKw(s.maxDemandKwHundredths).text,
                 s.demandMinutes, word(ADDED_MINUTES), when(s.demandStart).text);
    else
        out.line(word(ADDED_MAX_DEMAND), "%s", word(ADDED_NONE));
    out.line(word(ADDED_LOAD_FACTOR), "%s",
             s.loadFactorKnown ? number(s.loadFactorThousandths, 3).text : word(ADDED_NONE));
    out.line(word(ADDED_COVERED), "%s", duration(s.valueSecondsHundredths).text);
    if (s.ratedGiven)
        out.line(word(ADDED_ENERGY), "%s kWh", number(s.energyKwhThousandths, 3).text);
    for (int k = 0; k < s.thresholdCount; ++k) {
        const LoadThresholdCount& above = s.above[k];
        char label[DIALOG_TEXT_SIZE];
        std::snprintf(label, sizeof label, "%s %u %%", word(ADDED_AT_OR_ABOVE), above.percent);
        out.line(label, "%s, %s %s %%", duration(above.secondsHundredths).text, word(ADDED_SHARE),
                 number(s.values > 0 ? above.shareTenThousandths : 0, 2).text);
    }
    out.line(word(ADDED_MARKERS), "%u", s.markers);
    out.line(word(ADDED_GAPS), "%u", s.gapRuns);
    out.line(word(ADDED_EXCURSIONS), "%u", excursions);
}

void addRow(int64_t target, const char* format, ...) __attribute__((format(printf, 2, 3)));
void addRow(int64_t target, const char* format, ...) {
    if (state.rowCount >= LIST_ROWS_MOST)
        return;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(state.rows[state.rowCount], ROW_SIZE, format, arguments);
    va_end(arguments);
    state.rowTarget[state.rowCount++] = target;
}

// The first record of scope stamped inside the block that starts at start.
int64_t firstRecordOfBlock(const RecordScope& scope, const SampleRecord& start, uint32_t minutes) {
    const int64_t from = stampMoment(start);
    const int64_t to = from + int64_t(minutes) * 60 * 100;
    StampCache cache;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const int64_t moment = stampMomentCached(sampleStore[i], &cache);
        if (moment >= from && moment < to)
            return i;
    }
    return NO_TARGET;
}

// The list's rows and the figures, which count the excursions it lists.
void composeList(const RecordScope& scope) {
    const LoadSummary& s = state.summary;
    state.rowCount = 0;
    if (s.values > 0)
        addRow(s.maximumIndex, "%s: %u %%%s, %s", word(ADDED_PEAK), s.maximum,
               inKw(s.maxKwHundredths).text, when(sampleStore[s.maximumIndex]).text);
    if (s.demandFound)
        addRow(firstRecordOfBlock(scope, s.demandStart, s.demandMinutes), "%s: %s %%%s, %s",
               word(ADDED_MAX_DEMAND), number(s.maxDemandHundredths, 2).text,
               inKw(s.maxDemandKwHundredths).text, when(s.demandStart).text);
    static ExcursionList excursions;
    // The list shows where, how long and how high; not the load before.
    startExcursions(&excursions, scope, state.request, EXCURSIONS_WITHOUT_BEFORE);
    uint32_t found = 0;
    for (Excursion e; nextExcursion(&excursions, &e); ++found) {
        if (found < LIST_EXCURSIONS_MOST)
            addRow(e.startIndex, "%s %u %%: %s, %s, %s %u %%", word(ADDED_AT_OR_ABOVE), e.percent,
                   when(sampleStore[e.startIndex]).text, duration(e.secondsHundredths).text,
                   word(ADDED_PEAK), e.peak);
    }
    if (found > LIST_EXCURSIONS_MOST)
        addRow(NO_TARGET, "%u %s", found - LIST_EXCURSIONS_MOST, word(ADDED_MORE));
    composeFigures(found);
}

void showTexts(bool toFront) {
    static AnalysisWindowTexts texts;
    copyText(texts.caption, addedText(ADDED_ANALYSIS_CAPTION));
    copyText(texts.scopeLabel, addedText(ADDED_ANALYSIS_SCOPE));
    const int scopeItems[ANALYSIS_SCOPES] = {IDM_EXPORT_ZOOM, IDM_EXPORT_MAIN, IDM_EXPORT_ALL};
    for (int k = 0; k < ANALYSIS_SCOPES; ++k)
        copyText(texts.scopes[k], menuText(scopeItems[k]));
    copyText(texts.demandLabel, word(ADDED_DEMAND_PERIOD));
    for (int k = 0; k < ANALYSIS_DEMAND_CHOICES; ++k)
        std::snprintf(texts.demandChoices[k], DIALOG_TEXT_SIZE, "%u %s", ANALYSIS_DEMAND_MINUTES[k],
                      word(ADDED_MINUTES));
    copyText(texts.thresholdsLabel, addedText(ADDED_ANALYSIS_THRESHOLDS));
    copyText(texts.ratedLabel, addedText(ADDED_ANALYSIS_RATED));
    copyText(texts.listLabel, addedText(ADDED_ANALYSIS_LIST));
    copyText(texts.copyLabel, addedText(ADDED_ANALYSIS_COPY));
    copyText(texts.reportLabel, addedText(ADDED_ANALYSIS_REPORT));
    copyText(texts.closeLabel, addedText(ADDED_ANALYSIS_CLOSE));
    uiAnalysisShow(&texts, toFront);
    state.textsLanguage = activeLanguageBase();
}

int demandChoiceOf(uint32_t minutes) {
    for (int k = 0; k < ANALYSIS_DEMAND_CHOICES; ++k)
        if (ANALYSIS_DEMAND_MINUTES[k] == minutes)
            return k;
    return -1;
}

void showSettings() {
    char thresholds[LOAD_THRESHOLDS_MAX * 5 + 1];
    char rated[32];
    thresholdText(state.request, thresholds, sizeof thresholds);
    ratedKwText(state.request.ratedMilliKw, rated, sizeof rated);
    uiAnalysisSetSettings(state.scope, demandChoiceOf(state.request.demandMinutes), thresholds,
                          rated);
}

void applyRequest(const LoadSummaryRequest& request) {
    if (sameRequest(request, state.request))
        return;
    state.request = request;
    const int result = saveAnalysisSettings(request);
    if (result != 0 && !state.saveFailed)
        showMessage(MSG_CONFIG_FILE, CAPTION_ERROR, result);
    state.saveFailed = result != 0;
    analysisFollowCharts();
}

} // namespace

RecordScope analysisScopeRecords(int scope) {
    const uint32_t count = storableCount(dataHeader.count);
    if (!dataPresent || count == 0)
        return {0, 0};
    if (scope != ANALYSIS_ZOOM && scope != ANALYSIS_MAIN)
        return {0, count};
    const bool zoom = scope == ANALYSIS_ZOOM;
    uint32_t first = zoom ? chartView.zoomStart : chartView.mainStart;
    const float step =
        zoom ? zoomStep(chartView.samplesPerPixel) : float(chartView.samplesPerPixel);
    int64_t last = curveLastIndex(int32_t(first), step);
    first = std::min(first, count - 1);
    if (last < int64_t(first) || last > int64_t(count) - 1)
        last = count - 1;
    return {first, uint32_t(last - first + 1)};
}

int analysisScope() {
    return state.scope;
}

const LoadSummaryRequest& analysisRequest() {
    ensureSettings();
    return state.request;
}

void analysisSummaryCommand() {
    ensureSettings();
    state.open = true;
    showTexts(true);
    showSettings();
    analysisFollowCharts();
}

void analysisFollowCharts() {
    if (!state.open || state.jumping)
        return;
    if (state.textsLanguage != activeLanguageBase()) {
        showTexts(false);
        showSettings();
        state.shown = false; // the rows' words
    }
    const RecordScope scope = analysisScopeRecords(state.scope);
    if (state.shown && scope.first == state.shownScope.first &&
        scope.count == state.shownScope.count && chartDataGeneration == state.shownGeneration &&
        sameRequest(state.request, state.shownRequest))
        return;
    summarizeLoadIn(state.request, scope, &state.summary);
    composeList(scope);
    state.shown = true;
    state.shownScope = scope;
    state.shownGeneration = chartDataGeneration;
    state.shownRequest = state.request;

    const char* rows[LIST_ROWS_MOST];
    for (int k = 0; k < state.rowCount; ++k)
        rows[k] = state.rows[k];
    uiAnalysisSetFigures(state.figures);
    uiAnalysisSetList(rows, state.rowCount);
}

void analysisScopeChosen(int scope) {
    if (scope < 0 || scope >= ANALYSIS_SCOPES)
        return;
    state.scope = scope;
    analysisFollowCharts();
}

void analysisDemandChosen(int choice) {
    if (choice < 0 || choice >= ANALYSIS_DEMAND_CHOICES)
        return;
    LoadSummaryRequest request = state.request;
    request.demandMinutes = ANALYSIS_DEMAND_MINUTES[choice];
    applyRequest(request);
}

void analysisThresholdsEdited(const char* text) {
    LoadSummaryRequest request = state.request;
    if (parseThresholdText(text, &request))
        applyRequest(request);
}

void analysisRatedEdited(const char* text) {
    LoadSummaryRequest request = state.request;
    request.ratedMilliKw = 0;
    if (text[0] == '\0' || parseRatedKwText(text, &request.ratedMilliKw))
        applyRequest(request);
}

void analysisRowChosen(int row) {
    if (row < 0 || row >= state.rowCount || state.rowTarget[row] == NO_TARGET)
        return;
    state.jumping = true;
    showSampleInCharts(uint32_t(state.rowTarget[row]));
    state.jumping = false;
    analysisFollowCharts();
}

void analysisCopy() {
    analysisFollowCharts();
    static TextSink sink;
    textSinkStart(&sink, uiClipboardAppend);
    // What korvex-convert --summary prints for the same records and settings.
    const SummaryParts parts{};
    writeSummaryText(state.summary, state.request, parts, nullptr, &sink);
    uiClipboardCommit();
}

void analysisWindowClosed() {
    state.open = false;
}
