// The survey report: one HTML file with its CSS and its charts as inline
// SVG, that needs no script and loads nothing (its Content-Security-Policy
// forbids every load), opens offline anywhere, can be mailed, and prints on
// A4 landscape. It holds a heading, the summary, the whole record as a chart,
// the daily profile, the heat map, the load duration curve, the ten highest
// demand blocks, the excursions, the markers and the gaps of a scope of
// records, every word in the chosen language and numbers in its style.
#pragma once
#include <cstdint>

#include "data/load_summary.h"
#include "platform/clock.h"

struct SurveyReportRequest {
    RecordScope scope;
    LoadSummaryRequest summary;
    const char* title;     // null or empty: the language's word for a load survey
    const char* fileName;  // the data's file as the user named it; null: none
    uint16_t languageBase; // the text table's: English, German or Danish
    const char* generator; // what made it, as "korvex-convert 1.3"
    SystemTime made;
};

// The excursions, markers and gaps listed; how many more there are is said.
constexpr uint32_t REPORT_LIST_MOST = 50;

// Writes the report into path, which holds the old file or the whole report
// afterwards (the platform's file replacement). Every text from outside
// (title, file name, generator) is escaped. Returns 0 or a system error number.
int writeSurveyReport(const char* path, const SurveyReportRequest& request);
