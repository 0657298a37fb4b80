#include "output/report_charts.h"

#include <algorithm>

#include "base/texts.h"
#include "data/load_excursions.h"
#include "data/load_heatmap.h"
#include "data/time_base.h"
#include "output/report_html.h"
#include "res/added_texts.h"

namespace {

constexpr int64_t HUNDREDTHS_PER_MINUTE = 6000;
constexpr int64_t HUNDREDTHS_PER_DAY = 1440 * HUNDREDTHS_PER_MINUTE;

// The record chart's plot area in the SVG's own units.
constexpr int RECORD_WIDTH = 1000, RECORD_HEIGHT = 340;
constexpr int PLOT_LEFT = 60, PLOT_RIGHT = 940, PLOT_TOP = 24, PLOT_BOTTOM = 290;
constexpr int COLUMNS = PLOT_RIGHT - PLOT_LEFT;

const char* const THRESHOLD_COLOURS[] = {"#e69f00", "#d55e00", "#cc79a7", "#009e73"};

// A value axis in percent from 0 to top, with its step.
struct ValueAxis {
    uint32_t top;
    uint32_t step;
    int y0, y1; // the plot's bottom and top
    double y(double percent) const { return y0 - (y0 - y1) * percent / top; }
};

ValueAxis valueAxis(uint32_t highest, int bottom, int top) {
    const uint32_t step = highest <= 150 ? 25 : highest <= 400 ? 50 : 100;
    const uint32_t reach = std::max<uint32_t>(highest, 100);
    return ValueAxis{(reach + step - 1) / step * step, step, bottom, top};
}

void drawValueAxis(const ValueAxis& axis, int left, int right, uint64_t ratedMilliKw) {
    htmlPrintf("<g class=\"axis\">");
    for (uint32_t v = 0; v <= axis.top; v += axis.step) {
        const double y = axis.y(v);
        htmlPrintf("<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" class=\"grid\"/>"
                   "<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%u</text>",
                   left, y, right, y, left - 4, y + 4, v);
        if (ratedMilliKw != 0)
            htmlPrintf("<text x=\"%d\" y=\"%.1f\">%s</text>", right + 4, y + 4,
                       htmlDecimal(roundedQuotient(uint128(v) * ratedMilliKw, 10000), 1).text);
    }
    htmlPrintf("<text x=\"%d\" y=\"%d\" text-anchor=\"end\">P[%%]</text>", left - 4, axis.y1 - 4);
    if (ratedMilliKw != 0)
        htmlPrintf("<text x=\"%d\" y=\"%d\">kW</text>", right + 4, axis.y1 - 4);
    htmlPrintf("</g>");
}

void drawThresholds(const ValueAxis& axis, const LoadSummaryRequest& request, int left, int right) {
    for (int k = 0; k < request.thresholdCount; ++k) {
        if (request.thresholds[k] > axis.top)
            continue;
        const double y = axis.y(request.thresholds[k]);
        htmlPrintf("<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" class=\"threshold\" "
                   "stroke=\"%s\"><title>%u %%</title></line>",
                   left, y, right, y, THRESHOLD_COLOURS[k % 4], request.thresholds[k]);
    }
}

// What the record chart keeps of each column.
struct Column {
    uint8_t low, high;
    bool value;     // holds a value sample
    bool marker;    // holds a marker
    uint32_t first; // the first record drawn in it
    bool any;
};
Column columns[COLUMNS];

// Where records fall: by their stamps where the scope has calendar stamps
// that differ, else by their place.
struct ColumnMap {
    bool byTime;
    int64_t start, span;
    uint32_t first, count;
    int at(uint32_t index, StampCache* cache) const {
        int64_t offset, length;
        if (byTime) {
            const int64_t moment = stampMomentCached(sampleStore[index], cache);
            if (moment < 0)
                return -1;
            offset = moment - start;
            length = span;
        } else {
            offset = index - first;
            length = count;
        }
        return int(std::min<int64_t>(offset * COLUMNS / length, COLUMNS - 1));
    }
};

ColumnMap columnMap(const RecordScope& scope, uint16_t interval) {
    int64_t lowest = INT64_MAX, highest = INT64_MIN;
    StampCache cache;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const int64_t moment = stampMomentCached(sampleStore[i], &cache);
        if (moment >= 0) {
            lowest = std::min(lowest, moment);
            highest = std::max(highest, moment);
        }
    }
    if (lowest >= highest)
        return ColumnMap{false, 0, 1, scope.first, scope.count};
    return ColumnMap{true, lowest, highest - lowest + std::max<int64_t>(interval, 1), scope.first,
                     scope.count};
}

// Time ticks on whole minutes, hours or days: the finest step that gives at
// most a dozen.
void drawTimeAxis(const ColumnMap& map) {
    static const int64_t STEPS_MINUTES[] = {1,   2,   5,   10,   15,   30,    60,    120,
                                            180, 360, 720, 1440, 2880, 10080, 20160, 40320};
    int64_t step = STEPS_MINUTES[0] * HUNDREDTHS_PER_MINUTE;
    for (int64_t minutes : STEPS_MINUTES) {
        step = minutes * HUNDREDTHS_PER_MINUTE;
        if (map.span / step <= 12)
            break;
    }
    htmlPrintf("<g class=\"axis\">");
    for (int64_t t = (map.start + step - 1) / step * step; t < map.start + map.span; t += step) {
        const double x = PLOT_LEFT + double(t - map.start) * COLUMNS / map.span;
        int64_t year;
        unsigned month, day;
        civilFromDays(t / HUNDREDTHS_PER_DAY, &year, &month, &day);
        const int64_t minute = t % HUNDREDTHS_PER_DAY / HUNDREDTHS_PER_MINUTE;
        htmlPrintf("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" class=\"grid\"/>", x,
                   PLOT_TOP, x, PLOT_BOTTOM + 4);
        if (step >= HUNDREDTHS_PER_DAY || minute == 0)
            htmlPrintf("<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%04d-%02u-%02u</text>", x,
                       PLOT_BOTTOM + 30, int(year), month, day);
        if (step < HUNDREDTHS_PER_DAY)
            htmlPrintf("<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%02d:%02d</text>", x,
                       PLOT_BOTTOM + 16, int(minute / 60), int(minute % 60));
    }
    htmlPrintf("</g>");
}

// The excursions as shaded spans of columns, one colour per threshold; runs
// that meet in a column share one span.
void shadeExcursions(const RecordScope& scope, const LoadSummaryRequest& request,
                     const ColumnMap& map) {
    int open[LOAD_THRESHOLDS_MAX][2];
    for (auto& span : open)
        span[0] = span[1] = -2;
    const auto flush = [](int k, const int span[2]) {
        if (span[0] >= 0)
            htmlPrintf("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%s\" "
                       "class=\"excursion\"/>",
                       PLOT_LEFT + span[0], PLOT_TOP, span[1] - span[0] + 1, PLOT_BOTTOM - PLOT_TOP,
                       THRESHOLD_COLOURS[k % 4]);
    };
    static ExcursionList list;
    startExcursions(&list, scope, request, EXCURSIONS_WITHOUT_BEFORE);
    for (Excursion e; nextExcursion(&list, &e);) {
        int k = 0;
        while (request.thresholds[k] != e.percent)
            ++k;
        StampCache cache;
        int from = map.at(e.startIndex, &cache), to = map.at(e.endIndex, &cache);
        if (from < 0 || to < 0)
            continue;
        if (from > to)
            std::swap(from, to);
        if (from <= open[k][1] + 1 && to >= open[k][0]) {
            open[k][0] = std::min(open[k][0], from);
            open[k][1] = std::max(open[k][1], to);
            continue;
        }
        flush(k, open[k]);
        open[k][0] = from;
        open[k][1] = to;
    }
    for (int k = 0; k < request.thresholdCount; ++k)
        flush(k, open[k]);
}

// Each run of columns with values as one band from the lowest to the
// highest value; a column without one (a gap) ends the band.
void drawBands(const ValueAxis& axis) {
    for (int c = 0; c < COLUMNS;) {
        if (!columns[c].value) {
            ++c;
            continue;
        }
        int end = c;
        while (end < COLUMNS && columns[end].value)
            ++end;
        htmlPut("<polygon class=\"curve\" points=\"");
        for (int k = c; k < end; ++k)
            htmlPrintf("%d,%.1f %d,%.1f ", PLOT_LEFT + k, axis.y(columns[k].high),
                       PLOT_LEFT + k + 1, axis.y(columns[k].high));
        for (int k = end - 1; k >= c; --k)
            htmlPrintf("%d,%.1f %d,%.1f ", PLOT_LEFT + k + 1, axis.y(columns[k].low), PLOT_LEFT + k,
                       axis.y(columns[k].low));
        htmlPut("\"/>");
        c = end;
    }
}

void drawColumnTitles() {
    htmlPut("<g class=\"hover\">");
    for (int c = 0; c < COLUMNS; ++c) {
        if (!columns[c].any)
            continue;
        htmlPrintf("<rect x=\"%d\" y=\"%d\" width=\"1\" height=\"%d\"><title>%s", PLOT_LEFT + c,
                   PLOT_TOP, PLOT_BOTTOM - PLOT_TOP, htmlStamp(sampleStore[columns[c].first]).text);
        if (columns[c].value)
            htmlPrintf(": %u..%u %%", columns[c].low, columns[c].high);
        if (columns[c].marker)
            htmlPrintf(" (%s)", addedTextOf(ADDED_MARKERS, htmlLanguage()));
        htmlPut("</title></rect>");
    }
    htmlPut("</g>");
}

void polylineStart(const char* cls) {
    htmlPrintf("<polyline class=\"%s\" points=\"", cls);
}

} // namespace

void drawRecordChart(const RecordScope& scope, const LoadSummary& summary,
                     const LoadSummaryRequest& request) {
    const ColumnMap map = columnMap(scope, summary.interval);
    for (Column& column : columns)
        column = Column{255, 0, false, false, 0, false};
    StampCache cache;
    for (uint32_t i = scope.first; i < scope.first + scope.count; ++i) {
        const int c = map.at(i, &cache);
        if (c < 0)
            continue;
        Column& column = columns[c];
        const uint8_t code = sampleStore[i].value;
        if (!column.any)
            column.first = i;
        column.any = true;
        if (isMarkerCode(code)) {
            column.marker = true;
        } else if (isValueCode(code)) {
            column.value = true;
            column.low = std::min(column.low, code);
            column.high = std::max(column.high, code);
        }
    }
    uint32_t highest = summary.values > 0 ? summary.maximum : 0;
    for (int k = 0; k < request.thresholdCount; ++k)
        highest = std::max<uint32_t>(highest, request.thresholds[k]);
    const ValueAxis axis = valueAxis(highest, PLOT_BOTTOM, PLOT_TOP);
    htmlPrintf("<svg viewBox=\"0 0 %d %d\" class=\"chart\" role=\"img\">", RECORD_WIDTH,
               RECORD_HEIGHT);
    shadeExcursions(scope, request, map);
    drawValueAxis(axis, PLOT_LEFT, PLOT_RIGHT, request.ratedMilliKw);
    if (map.byTime)
        drawTimeAxis(map);
    drawBands(axis);
    drawThresholds(axis, request, PLOT_LEFT, PLOT_RIGHT);
    for (int c = 0; c < COLUMNS; ++c) {
        if (columns[c].marker)
            htmlPrintf("<line x1=\"%d.5\" y1=\"%d\" x2=\"%d.5\" y2=\"%d\" class=\"marker\"/>",
                       PLOT_LEFT + c, PLOT_TOP, PLOT_LEFT + c, PLOT_TOP + 10);
    }
    htmlPrintf("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" class=\"frame\"/>", PLOT_LEFT,
               PLOT_TOP, COLUMNS, PLOT_BOTTOM - PLOT_TOP);
    drawColumnTitles();
    htmlPut("</svg>\n");
}

void drawProfileChart(const LoadProfile& profile, int kind) {
    constexpr int WIDTH = 490, HEIGHT = 260, LEFT = 44, RIGHT = 470, TOP = 22, BOTTOM = 225;
    const ProfileSlot* slots = profile.slots[kind];
    uint32_t highest = 0;
    for (uint32_t s = 0; s < profile.slotCount; ++s)
        highest = std::max(highest, (slots[s].maxHundredths + 99) / 100);
    const ValueAxis axis = valueAxis(highest, BOTTOM, TOP);
    const double slotWidth = double(RIGHT - LEFT) / profile.slotCount;
    const auto x = [&](uint32_t s) { return LEFT + (s + 0.5) * slotWidth; };
    htmlPrintf("<svg viewBox=\"0 0 %d %d\" class=\"chart\" role=\"img\">", WIDTH, HEIGHT);
    drawValueAxis(axis, LEFT, RIGHT, 0);
    htmlPut("<g class=\"axis\">");
    for (int hour = 0; hour <= 24; hour += 3) {
        const double hx = LEFT + (RIGHT - LEFT) * hour / 24.0;
        htmlPrintf("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" class=\"grid\"/>"
                   "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%02d:00</text>",
                   hx, TOP, hx, BOTTOM + 4, hx, BOTTOM + 18, hour);
    }
    htmlPut("</g>");
    for (uint32_t s = 0; s < profile.slotCount;) {
        if (slots[s].blocks == 0) {
            ++s;
            continue;
        }
        uint32_t end = s;
        while (end < profile.slotCount && slots[end].blocks > 0)
            ++end;
        htmlPut("<polygon class=\"band\" points=\"");
        for (uint32_t k = s; k < end; ++k)
            htmlPrintf("%.1f,%.1f ", x(k), axis.y(slots[k].maxHundredths / 100.0));
        for (uint32_t k = end; k-- > s;)
            htmlPrintf("%.1f,%.1f ", x(k), axis.y(slots[k].minHundredths / 100.0));
        htmlPut("\"/>");
        polylineStart("mean");
        for (uint32_t k = s; k < end; ++k)
            htmlPrintf("%.1f,%.1f ", x(k), axis.y(slots[k].meanHundredths / 100.0));
        htmlPut("\"/>");
        s = end;
    }
    for (uint32_t s = 0; s < profile.slotCount; ++s) {
        if (slots[s].blocks == 0)
            continue;
        const uint32_t minute = s * (1440 / profile.slotCount);
        htmlPrintf(
            "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" class=\"point\"><title>%02u:%02u: %s %% "
            "(%s..%s %%)</title></circle>",
            x(s), axis.y(slots[s].meanHundredths / 100.0), minute / 60, minute % 60,
            htmlDecimal(slots[s].meanHundredths, 2).text,
            htmlDecimal(slots[s].minHundredths, 2).text,
            htmlDecimal(slots[s].maxHundredths, 2).text);
    }
    htmlPrintf("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" class=\"frame\"/></svg>\n", LEFT,
               TOP, RIGHT - LEFT, BOTTOM - TOP);
}

namespace {

// A colour scale that rises steadily in lightness (so it reads in grey) from
// dark blue through green to yellow, which colour-blind readers tell apart.
const uint8_t SCALE[][3] = {{68, 1, 84},    {72, 40, 120},  {62, 74, 137},  {49, 104, 142},
                            {38, 130, 142}, {31, 158, 137}, {53, 183, 121}, {110, 206, 88},
                            {181, 222, 43}, {253, 231, 37}};
constexpr int SCALE_STOPS = sizeof SCALE / sizeof SCALE[0];

void putColour(double share) {
    share = std::clamp(share, 0.0, 1.0) * (SCALE_STOPS - 1);
    const int low = std::min(int(share), SCALE_STOPS - 2);
    const double f = share - low;
    htmlPrintf("#%02x%02x%02x", int(SCALE[low][0] + f * (SCALE[low + 1][0] - SCALE[low][0]) + 0.5),
               int(SCALE[low][1] + f * (SCALE[low + 1][1] - SCALE[low][1]) + 0.5),
               int(SCALE[low][2] + f * (SCALE[low + 1][2] - SCALE[low][2]) + 0.5));
}

} // namespace

uint32_t drawHeatmap() {
    constexpr int WIDTH = 1000, LEFT = 84, RIGHT = 970, TOP = 6, MOST_HEIGHT = 420;
    static HeatmapDay day;
    HeatmapCursor cursor{0};
    uint32_t days = 0, highest = 1;
    while (nextHeatmapDay(&cursor, &day)) {
        ++days;
        for (uint32_t s = 0; s < day.slotCount; ++s)
            highest = std::max(highest, day.counts[s] ? (day.meanHundredths[s] + 99) / 100 : 0);
    }
    const uint32_t shown = std::min(days, HEATMAP_DAYS_SHOWN);
    const double row = std::min(18.0, double(MOST_HEIGHT) / std::max(shown, 1u));
    const double bottom = TOP + row * shown;
    const ValueAxis axis = valueAxis(highest, 0, 0);
    const double cell = double(RIGHT - LEFT) / demandBlocksPerDay();
    htmlPrintf("<svg viewBox=\"0 0 %d %.0f\" class=\"chart\" role=\"img\">", WIDTH, bottom + 70);
    cursor = HeatmapCursor{0};
    for (uint32_t r = 0; r < shown && nextHeatmapDay(&cursor, &day); ++r) {
        const double y = TOP + r * row;
        const ReportFigure date = htmlStamp(day.date);
        htmlPrintf("<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\" class=\"label\">%.10s</text>",
                   LEFT - 4, y + row * 0.75, date.text);
        for (uint32_t s = 0; s < day.slotCount; ++s) {
            if (!day.counts[s])
                continue;
            const uint32_t minute = s * demandBlockMinutes;
            htmlPrintf("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"",
                       LEFT + s * cell, y, cell, row);
            putColour(day.meanHundredths[s] / 100.0 / axis.top);
            htmlPrintf("\"><title>%.10s %02u:%02u: %s %%</title></rect>", date.text, minute / 60,
                       minute % 60, htmlDecimal(day.meanHundredths[s], 2).text);
        }
    }
    htmlPut("<g class=\"axis\">");
    for (int hour = 0; hour <= 24; hour += 3)
        htmlPrintf("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%02d:00</text>",
                   LEFT + (RIGHT - LEFT) * hour / 24.0, bottom + 14, hour);
    // The scale: forty steps and their percent.
    for (int k = 0; k < 40; ++k) {
        htmlPrintf("<rect x=\"%.1f\" y=\"%.1f\" width=\"10.5\" height=\"12\" fill=\"",
                   LEFT + k * 10.0, bottom + 30);
        putColour(k / 39.0);
        htmlPut("\"/>");
    }
    for (uint32_t v = 0; v <= axis.top; v += axis.step)
        htmlPrintf("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%u %%</text>",
                   LEFT + 400.0 * v / axis.top, bottom + 56, v);
    htmlPrintf("</g></svg>\n");
    return days;
}

void drawDurationChart(const LoadDuration& duration, const LoadSummaryRequest& request) {
    constexpr int WIDTH = 1000, HEIGHT = 310, LEFT = 60, RIGHT = 940, TOP = 22, BOTTOM = 270;
    uint32_t highest = duration.samplesKnown ? duration.samples[0] : 0;
    for (int k = 0; k < request.thresholdCount; ++k)
        highest = std::max<uint32_t>(highest, request.thresholds[k]);
    const ValueAxis axis = valueAxis(highest, BOTTOM, TOP);
    const auto x = [](int p) { return LEFT + (RIGHT - LEFT) * p / 100.0; };
    htmlPrintf("<svg viewBox=\"0 0 %d %d\" class=\"chart\" role=\"img\">", WIDTH, HEIGHT);
    drawValueAxis(axis, LEFT, RIGHT, request.ratedMilliKw);
    htmlPut("<g class=\"axis\">");
    for (int p = 0; p <= 100; p += 10)
        htmlPrintf("<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" class=\"grid\"/>"
                   "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%d %%</text>",
                   x(p), TOP, x(p), BOTTOM + 4, x(p), BOTTOM + 18, p);
    htmlPut("</g>");
    drawThresholds(axis, request, LEFT, RIGHT);
    for (int curve = 0; curve < 2; ++curve) {
        const bool samples = curve == 0;
        if (!(samples ? duration.samplesKnown : duration.blocksKnown))
            continue;
        const auto value = [&](int p) {
            return samples ? duration.samples[p] * 100u : duration.blockHundredths[p];
        };
        polylineStart(samples ? "duration-samples" : "duration-blocks");
        for (int p = 0; p < DURATION_POINTS; ++p)
            htmlPrintf("%.1f,%.1f ", x(p), axis.y(value(p) / 100.0));
        htmlPut("\"/>");
        for (int p = 0; p < DURATION_POINTS; ++p)
            htmlPrintf("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"2.5\" class=\"point\"><title>%d %%: "
                       "%s %%</title></circle>",
                       x(p), axis.y(value(p) / 100.0), p, htmlDecimal(value(p), 2).text);
    }
    htmlPrintf("<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" class=\"frame\"/></svg>\n", LEFT,
               TOP, RIGHT - LEFT, BOTTOM - TOP);
}
