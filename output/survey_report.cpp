#include "output/survey_report.h"

#include <algorithm>
#include <cstdio>

#include "base/texts.h"
#include "data/line_output.h"
#include "data/load_duration.h"
#include "data/load_excursions.h"
#include "data/load_profile.h"
#include "output/report_charts.h"
#include "output/report_html.h"
#include "res/added_texts.h"
#include "res/text_table.h"

namespace {

// Every load is forbidden; the page's own style is all it needs.
const char HEAD[] =
    "<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "style-src 'unsafe-inline'; img-src 'none'; font-src 'none'; base-uri 'none'; "
    "form-action 'none'\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<style>\n"
    "body{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif;font-size:13px;color:#111;"
    "margin:16px auto;max-width:1040px}\n"
    "h1{font-size:22px;margin:0 0 8px}h2{font-size:16px;margin:0 0 6px}\n"
    "section,header{margin:0 0 18px;break-inside:avoid;page-break-inside:avoid}\n"
    "table{border-collapse:collapse}td,th{padding:2px 8px 2px 0;text-align:left;"
    "vertical-align:top}th{border-bottom:1px solid #888}\n"
    "td.n,th.n{text-align:right}td{white-space:nowrap}h2,h3{break-after:avoid}\n"
    "thead{display:table-header-group}\n"
    "p.note{margin:0 0 6px;color:#444}\n"
    "svg.chart{width:100%;height:auto;display:block}\n"
    ".pair{display:flex;gap:12px}.pair>div{flex:1}\n"
    ".axis text,.label{font-size:11px;fill:#333}.grid{stroke:#ddd}\n"
    ".frame{fill:none;stroke:#888}.curve{fill:#0072b2;stroke:#0072b2;stroke-width:.6}\n"
    ".threshold{stroke-width:1.2;stroke-dasharray:6 3}.excursion{opacity:.25}\n"
    ".marker{stroke:#7b3294;stroke-width:1.5}.hover rect{fill:transparent}\n"
    ".band{fill:#56b4e9;opacity:.35}.mean{fill:none;stroke:#0072b2;stroke-width:2}\n"
    ".point{fill:#0072b2;fill-opacity:.01}.point:hover{fill-opacity:1}\n"
    ".duration-samples{fill:none;stroke:#0072b2;stroke-width:2}\n"
    ".duration-blocks{fill:none;stroke:#d55e00;stroke-width:2}\n"
    ".key{display:inline-block;width:18px;height:3px;vertical-align:middle;margin:0 4px}\n"
    "@page{size:A4 landscape;margin:12mm}\n"
    "@media print{body{margin:0;max-width:none;font-size:10px}"
    "section.list{break-inside:auto;page-break-inside:auto}"
    "tr{break-inside:avoid;page-break-inside:avoid}}\n"
    "</style>\n";

const SurveyReportRequest* request;
LoadSummary summary;
LoadProfile profile;
LoadDuration duration;

const char* word(int w) {
    return addedTextOf(w, request->languageBase);
}

void row(int label, const char* value, const char* time = "") {
    htmlPrintf("<tr><th scope=\"row\">%s</th><td class=\"n\">%s</td><td>%s</td></tr>\n",
               word(label), value, time);
}

// " = 12.50 kW" after a percent, with a rated power.
struct KwFigure {
    char text[64];
};
KwFigure inKw(uint64_t kwHundredths) {
    KwFigure out{""};
    if (summary.ratedGiven)
        std::snprintf(out.text, sizeof out.text, " = %s kW", htmlDecimal(kwHundredths, 2).text);
    return out;
}

void heading() {
    const SurveyReportRequest& r = *request;
    htmlPut("<header><h1>");
    htmlPutEscaped(r.title != nullptr && r.title[0] != '\0' ? r.title : word(ADDED_DEFAULT_TITLE));
    htmlPut("</h1>\n<table class=\"facts\">\n");
    htmlPrintf("<tr><th scope=\"row\">%s</th><td>", word(ADDED_FILE));
    htmlPutEscaped(r.fileName != nullptr ? r.fileName : "");
    htmlPrintf("</td></tr>\n<tr><th scope=\"row\">%s</th><td>%s s</td></tr>\n",
               word(ADDED_INTERVAL), htmlDecimal(summary.interval, 2).text);
    if (summary.count > 0) {
        htmlPrintf("<tr><th scope=\"row\">%s</th><td>%s</td></tr>\n", word(ADDED_FIRST),
                   htmlStamp(sampleStore[summary.first]).text);
        htmlPrintf("<tr><th scope=\"row\">%s</th><td>%s</td></tr>\n", word(ADDED_LAST),
                   htmlStamp(sampleStore[summary.first + summary.count - 1]).text);
    }
    htmlPrintf("<tr><th scope=\"row\">%s</th><td>%u</td></tr>\n", word(ADDED_RECORDS),
               summary.count);
    htmlPrintf("<tr><th scope=\"row\">%s</th><td>%u</td></tr>\n", word(ADDED_VALUE_SAMPLES),
               summary.values);
    htmlPrintf("<tr><th scope=\"row\">%s</th><td>", word(ADDED_RATING));
    if (summary.ratedGiven)
        htmlPrintf("%s kW", htmlDecimal(summary.ratedMilliKw, 3).text);
    else
        htmlPut(word(ADDED_NOT_GIVEN));
    htmlPrintf("</td></tr>\n<tr><th scope=\"row\">%s</th><td>%u %s</td></tr>\n",
               word(ADDED_DEMAND_PERIOD), summary.demandMinutes, word(ADDED_MINUTES));
    const SystemTime& m = r.made;
    htmlPrintf("<tr><th scope=\"row\">%s</th><td>%04u-%02u-%02u %02u:%02u:%02u %s ",
               word(ADDED_MADE), m.year, m.month, m.day, m.hour, m.minute, m.second,
               word(ADDED_MADE_BY));
    htmlPutEscaped(r.generator != nullptr ? r.generator : "");
    htmlPut("</td></tr>\n</table></header>\n");
}

void summaryTable() {
    const bool values = summary.values > 0;
    htmlPrintf("<section id=\"summary\"><h2>%s</h2>\n<table>\n", word(ADDED_SUMMARY));
    htmlPrintf("<tr><th>%s</th><th class=\"n\">%s</th><th>%s</th></tr>\n", word(ADDED_FIGURE),
               word(ADDED_VALUE), word(ADDED_TIME));
    char text[192];
    if (values) {
        std::snprintf(text, sizeof text, "%u %%", summary.minimum);
        row(ADDED_MINIMUM, text, htmlStamp(sampleStore[summary.minimumIndex]).text);
        std::snprintf(text, sizeof text, "%u %%%s", summary.maximum,
                      inKw(summary.maxKwHundredths).text);
        row(ADDED_MAXIMUM, text, htmlStamp(sampleStore[summary.maximumIndex]).text);
        std::snprintf(text, sizeof text, "%s %%%s", htmlDecimal(summary.meanHundredths, 2).text,
                      inKw(summary.meanKwHundredths).text);
        row(ADDED_MEAN, text);
    }
    if (summary.demandFound) {
        std::snprintf(text, sizeof text, "%s %%%s",
                      htmlDecimal(summary.maxDemandHundredths, 2).text,
                      inKw(summary.maxDemandKwHundredths).text);
        row(ADDED_MAX_DEMAND, text, htmlStamp(summary.demandStart).text);
    } else {
        row(ADDED_MAX_DEMAND, word(ADDED_NONE));
    }
    row(ADDED_LOAD_FACTOR, summary.loadFactorKnown
                               ? htmlDecimal(summary.loadFactorThousandths, 3).text
                               : word(ADDED_NONE));
    std::snprintf(text, sizeof text, "%s s", htmlDecimal(summary.valueSecondsHundredths, 2).text);
    row(ADDED_COVERED, text);
    if (summary.ratedGiven) {
        std::snprintf(text, sizeof text, "%s kWh",
                      htmlDecimal(summary.energyKwhThousandths, 3).text);
        row(ADDED_ENERGY, text);
    }
    for (int k = 0; k < summary.thresholdCount; ++k) {
        const LoadThresholdCount& above = summary.above[k];
        htmlPrintf("<tr><th scope=\"row\">%s %u %%</th><td class=\"n\">%s s</td><td>%u %s, %s "
                   "%s</td></tr>\n",
                   word(ADDED_AT_OR_ABOVE), above.percent,
                   htmlDecimal(above.secondsHundredths, 2).text, above.samples, word(ADDED_SAMPLES),
                   word(ADDED_SHARE),
                   values ? htmlDecimal(above.shareTenThousandths, 4).text : word(ADDED_NONE));
    }
    htmlPrintf("<tr><th scope=\"row\">%s</th><td class=\"n\">%u</td><td></td></tr>\n"
               "<tr><th scope=\"row\">%s</th><td class=\"n\">%u</td><td></td></tr>\n",
               word(ADDED_MARKERS), summary.markers, word(ADDED_GAPS), summary.gapRuns);
    htmlPut("</table></section>\n");
}

void chartSections() {
    htmlPrintf("<section id=\"record\"><h2>%s</h2><p class=\"note\">%s</p>\n",
               word(ADDED_RECORD_CHART), word(ADDED_RECORD_NOTE));
    drawRecordChart(request->scope, summary, request->summary);
    htmlPut("</section>\n");
    computeLoadProfile(&profile);
    htmlPrintf("<section id=\"profile\"><h2>%s</h2><p class=\"note\">%s</p><div class=\"pair\">\n",
               word(ADDED_PROFILE), word(ADDED_PROFILE_NOTE));
    for (int kind : {PROFILE_WORKDAYS, PROFILE_WEEKENDS}) {
        htmlPrintf("<div><h3>%s</h3>\n",
                   word(kind == PROFILE_WORKDAYS ? ADDED_WORKDAYS : ADDED_WEEKENDS));
        drawProfileChart(profile, kind);
        htmlPut("</div>\n");
    }
    htmlPut("</div></section>\n");
    htmlPrintf("<section id=\"heatmap\"><h2>%s</h2><p class=\"note\">%s</p>\n", word(ADDED_HEATMAP),
               word(ADDED_HEATMAP_NOTE));
    const uint32_t days = drawHeatmap();
    if (days > HEATMAP_DAYS_SHOWN)
        htmlPrintf("<p>%u %s</p>", days - HEATMAP_DAYS_SHOWN, word(ADDED_MORE));
    htmlPut("</section>\n");
    computeLoadDuration(request->scope, &duration);
    htmlPrintf("<section id=\"duration\"><h2>%s</h2><p class=\"note\">%s; <span class=\"key\" "
               "style=\"background:#0072b2\"></span>%s <span class=\"key\" "
               "style=\"background:#d55e00\"></span>%s</p>\n",
               word(ADDED_DURATION), word(ADDED_DURATION_NOTE), word(ADDED_SAMPLES),
               word(ADDED_BLOCKS));
    drawDurationChart(duration, request->summary);
    htmlPut("</section>\n");
}

void topBlocks() {
    uint32_t positions[10];
    const uint32_t found = highestDemandBlocks(positions, 10);
    htmlPrintf("<section id=\"top-blocks\"><h2>%s</h2>\n", word(ADDED_TOP_BLOCKS));
    if (found == 0) {
        htmlPrintf("<p>%s</p></section>\n", word(ADDED_NONE));
        return;
    }
    htmlPrintf("<table><tr><th>%s</th><th class=\"n\">%s</th><th class=\"n\">%s</th></tr>\n",
               word(ADDED_START), word(ADDED_MEAN), word(ADDED_SAMPLES));
    for (uint32_t k = 0; k < found; ++k) {
        const DemandBlock& block = demandBlocks[positions[k]];
        htmlPrintf("<tr><td>%s</td><td class=\"n\">%s %%%s</td><td class=\"n\">%u</td></tr>\n",
                   htmlStamp(demandBlockStart(block)).text,
                   htmlDecimal(demandBlockMeanHundredths(block), 2).text,
                   inKw(roundedQuotient(uint128(block.sum) * summary.ratedMilliKw,
                                        uint64_t(block.values) * 1000))
                       .text,
                   block.values);
    }
    htmlPut("</table></section>\n");
}

// A list longer than the page goes on over the next, its head repeated.
void listEnd(uint32_t count) {
    htmlPut("</tbody></table>\n");
    if (count == 0)
        htmlPrintf("<p>%s</p>\n", word(ADDED_NONE));
    if (count > REPORT_LIST_MOST)
        htmlPrintf("<p>%u %s</p>\n", count - REPORT_LIST_MOST, word(ADDED_MORE));
    htmlPut("</section>\n");
}

void excursionTable() {
    static ExcursionList list;
    startExcursions(&list, request->scope, request->summary);
    htmlPrintf("<section id=\"excursions\" class=\"list\"><h2>%s</h2><p class=\"note\">%s</p>\n",
               word(ADDED_EXCURSIONS), word(ADDED_EXCURSIONS_NOTE));
    htmlPrintf("<table><thead><tr><th class=\"n\">%s</th><th>%s</th><th>%s</th>"
               "<th class=\"n\">%s</th><th class=\"n\">%s</th><th class=\"n\">%s</th><th>%s</th>"
               "<th class=\"n\">%s</th><th class=\"n\">%s</th>",
               word(ADDED_THRESHOLD), word(ADDED_START), word(ADDED_END), word(ADDED_SAMPLES),
               word(ADDED_SECONDS), word(ADDED_PEAK), word(ADDED_PEAK_TIME), word(ADDED_MEAN),
               word(ADDED_ABOVE_PERCENT_HOURS));
    if (summary.ratedGiven)
        htmlPrintf("<th class=\"n\">%s</th>", word(ADDED_ABOVE_KWH));
    htmlPrintf("<th class=\"n\">%s</th></tr></thead><tbody>\n", word(ADDED_BEFORE));
    uint32_t count = 0;
    for (Excursion e; nextExcursion(&list, &e); ++count) {
        if (count >= REPORT_LIST_MOST)
            continue;
        htmlPrintf("<tr><td class=\"n\">%u %%</td><td>%s</td><td>%s</td><td class=\"n\">%u</td>"
                   "<td class=\"n\">%s</td><td class=\"n\">%u %%</td><td>%s</td>"
                   "<td class=\"n\">%s %%</td><td class=\"n\">%s</td>",
                   e.percent, htmlStamp(sampleStore[e.startIndex]).text,
                   htmlStamp(sampleStore[e.endIndex]).text, e.samples,
                   htmlDecimal(e.secondsHundredths, 2).text, e.peak,
                   htmlStamp(sampleStore[e.peakIndex]).text, htmlDecimal(e.meanHundredths, 2).text,
                   htmlDecimal(e.abovePercentHourThousandths, 3).text);
        if (summary.ratedGiven)
            htmlPrintf("<td class=\"n\">%s</td>", htmlDecimal(e.aboveKwhThousandths, 3).text);
        if (e.beforeKnown)
            htmlPrintf("<td class=\"n\">%s %%</td></tr>\n",
                       htmlDecimal(e.beforeHundredths, 2).text);
        else
            htmlPrintf("<td class=\"n\">%s</td></tr>\n", word(ADDED_NONE));
    }
    listEnd(count);
}

void markerAndGapTables() {
    const RecordScope& scope = request->scope;
    const uint32_t end = scope.first + scope.count;
    htmlPrintf("<section id=\"markers\" class=\"list\"><h2>%s</h2>\n<table><thead><tr><th>%s</th>"
               "<th class=\"n\">%s</th></tr></thead><tbody>\n",
               word(ADDED_MARKERS), word(ADDED_TIME), word(ADDED_CODE));
    uint32_t count = 0;
    for (uint32_t i = nextMarker(scope, scope.first); i < end;
         i = nextMarker(scope, i + 1), ++count) {
        if (count < REPORT_LIST_MOST)
            htmlPrintf("<tr><td>%s</td><td class=\"n\">%u</td></tr>\n",
                       htmlStamp(sampleStore[i]).text, sampleStore[i].value);
    }
    listEnd(count);
    htmlPrintf("<section id=\"gaps\" class=\"list\"><h2>%s</h2>\n<table><thead><tr><th>%s</th>"
               "<th class=\"n\">%s</th><th class=\"n\">%s</th></tr></thead><tbody>\n",
               word(ADDED_GAPS), word(ADDED_START), word(ADDED_SAMPLES), word(ADDED_SECONDS));
    count = 0;
    uint32_t length = 0;
    for (uint32_t i = nextGapRun(scope, scope.first, &length); i < end;
         i = nextGapRun(scope, i + length, &length), ++count) {
        if (count < REPORT_LIST_MOST)
            htmlPrintf("<tr><td>%s</td><td class=\"n\">%u</td><td class=\"n\">%s</td></tr>\n",
                       htmlStamp(sampleStore[i]).text, length,
                       htmlDecimal(uint64_t(length) * summary.interval, 2).text);
    }
    listEnd(count);
}

int writeReport(FileHandle file, const void*) {
    const char* const languages[] = {"en", "de", "da"};
    const uint16_t base = request->languageBase;
    htmlStart(file, base);
    htmlPrintf("<!DOCTYPE html>\n<html lang=\"%s\">\n<head>\n",
               languages[base == LANG_GERMAN   ? 1
                         : base == LANG_DANISH ? 2
                                               : 0]);
    htmlPut(HEAD);
    htmlPut("<title>");
    htmlPutEscaped(request->title != nullptr && request->title[0] != '\0'
                       ? request->title
                       : word(ADDED_DEFAULT_TITLE));
    htmlPut("</title>\n</head>\n<body>\n");
    heading();
    if (summary.count == 0) {
        htmlPrintf("<p>%s</p>\n", word(ADDED_NO_DATA));
    } else {
        summaryTable();
        chartSections();
        topBlocks();
        excursionTable();
        markerAndGapTables();
    }
    htmlPut("</body>\n</html>\n");
    return htmlFinish();
}

} // namespace

int writeSurveyReport(const char* path, const SurveyReportRequest& r) {
    request = &r;
    summarizeLoadIn(r.summary, r.scope, &summary);
    return writeWholeFile(path, writeReport, nullptr);
}
