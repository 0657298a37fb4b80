#include "output/summary_text.h"

#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "data/load_duration.h"
#include "data/load_excursions.h"
#include "data/load_heatmap.h"
#include "data/load_profile.h"
#include "data/sample_store.h"
#include "output/summary_figures.h"

namespace {

struct TextLines {
    int labelWidth;
    TextSink* sink;
    void line(const char* label, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        char text[TEXT_SINK_LINE_MOST];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof text, format, arguments);
        va_end(arguments);
        textSinkPrintf(sink, "%-*s%s\n", labelWidth, label, text);
    }
};

// " = 467.50 kW" after a percent, with a rated power.
Figure inKw(const LoadSummaryRequest& request, uint64_t kwHundredths) {
    if (request.ratedMilliKw == 0)
        return figure("%s", "");
    return figure(" = %s kW", decimal(kwHundredths, 2).text);
}

void printFigures(const LoadSummary& s, const LoadSummaryRequest& request, TextLines& out) {
    const bool values = s.values > 0;
    out.line("interval", "%s s", decimal(s.interval, 2).text);
    out.line("first", "%s", stamp(sampleStore[s.first], false).text);
    out.line("last", "%s", stamp(sampleStore[s.first + s.count - 1], false).text);
    if (values) {
        out.line("minimum", "%u %% at %s", s.minimum,
                 stamp(sampleStore[s.minimumIndex], false).text);
        out.line("maximum", "%u %%%s at %s", s.maximum, inKw(request, s.maxKwHundredths).text,
                 stamp(sampleStore[s.maximumIndex], false).text);
        out.line("mean", "%s %%%s", decimal(s.meanHundredths, 2).text,
                 inKw(request, s.meanKwHundredths).text);
    } else {
        for (const char* label : {"minimum", "maximum", "mean"})
            out.line(label, "%s", NONE);
    }
    if (s.demandFound)
        out.line("maximum demand", "%s %%%s in the %u-minute block from %s",
                 decimal(s.maxDemandHundredths, 2).text,
                 inKw(request, s.maxDemandKwHundredths).text, s.demandMinutes,
                 stamp(s.demandStart, false).text);
    else
        out.line("maximum demand", "%s (no %u-minute block holds half its samples)", NONE,
                 s.demandMinutes);
    out.line("load factor", "%s",
             s.loadFactorKnown ? decimal(s.loadFactorThousandths, 3).text : NONE);
    if (request.ratedMilliKw != 0)
        out.line("energy", "%s kWh in %s s of values", decimal(s.energyKwhThousandths, 3).text,
                 decimal(s.valueSecondsHundredths, 2).text);
    else
        out.line("energy", "%s s of values", decimal(s.valueSecondsHundredths, 2).text);
    for (int k = 0; k < s.thresholdCount; ++k) {
        const LoadThresholdCount& above = s.above[k];
        char label[32];
        std::snprintf(label, sizeof label, "at or above %u %%", above.percent);
        out.line(label, "%u samples, %s s, share %s", above.samples,
                 decimal(above.secondsHundredths, 2).text,
                 values ? decimal(above.shareTenThousandths, 4).text : NONE);
    }
    const RecordScope scope{s.first, s.count};
    const uint32_t end = s.first + s.count;
    out.line("markers", "%u", s.markers);
    for (uint32_t i = nextMarker(scope, s.first); i < end; i = nextMarker(scope, i + 1))
        out.line("", "%s  code %u", stamp(sampleStore[i], false).text, sampleStore[i].value);
    out.line("gaps", "%u", s.gapRuns);
    uint32_t length = 0;
    for (uint32_t i = nextGapRun(scope, s.first, &length); i < end;
         i = nextGapRun(scope, i + length, &length))
        out.line("", "%s  %u samples, %s s", stamp(sampleStore[i], false).text, length,
                 decimal(uint64_t(length) * s.interval, 2).text);
}

void printBlocks(TextLines& out) {
    out.line("blocks", "%u (start, values, mean, counts)", demandBlockCount);
    for (uint32_t k = 0; k < demandBlockCount; ++k) {
        const DemandBlock& b = demandBlocks[k];
        out.line("", "%s  %u  %s  %s", stamp(demandBlockStart(b), false).text, b.values,
                 b.values > 0 ? decimal(demandBlockMeanHundredths(b), 2).text : NONE,
                 demandBlockCounts(b) ? "counts" : "does not count");
    }
}

void printExcursions(const LoadSummary& s, const LoadSummaryRequest& request, TextLines& out) {
    ExcursionList list;
    startExcursions(&list, {s.first, s.count}, request);
    out.line("excursions", "%s", "");
    for (Excursion e; nextExcursion(&list, &e);) {
        char kwh[96] = "";
        if (request.ratedMilliKw != 0)
            std::snprintf(kwh, sizeof kwh, " = %s kWh", decimal(e.aboveKwhThousandths, 3).text);
        out.line("",
                 "at or above %u %% from %s to %s: %u samples, %s s, peak %u %% at %s, "
                 "mean %s %%, above %s %%h%s, before %s",
                 e.percent, stamp(sampleStore[e.startIndex], false).text,
                 stamp(sampleStore[e.endIndex], false).text, e.samples,
                 decimal(e.secondsHundredths, 2).text, e.peak,
                 stamp(sampleStore[e.peakIndex], false).text, decimal(e.meanHundredths, 2).text,
                 decimal(e.abovePercentHourThousandths, 3).text, kwh,
                 e.beforeKnown ? figure("%s %%", decimal(e.beforeHundredths, 2).text).text : NONE);
    }
}

void printProfile(TextLines& out) {
    static LoadProfile profile;
    computeLoadProfile(&profile);
    out.line("profile", "%s", "time   blocks mean/min/max: all days | workdays | weekends");
    for (uint32_t slot = 0; slot < profile.slotCount; ++slot) {
        char columns[3][256];
        for (int kind = 0; kind < PROFILE_DAY_KINDS; ++kind) {
            const ProfileSlot& p = profile.slots[kind][slot];
            if (p.blocks == 0)
                std::snprintf(columns[kind], sizeof columns[kind], "0 %s", NONE);
            else
                std::snprintf(columns[kind], sizeof columns[kind], "%u %s/%s/%s", p.blocks,
                              decimal(p.meanHundredths, 2).text, decimal(p.minHundredths, 2).text,
                              decimal(p.maxHundredths, 2).text);
        }
        const uint32_t minute = slot * demandBlockMinutes;
        out.line("", "%02u:%02u  %s | %s | %s", minute / 60, minute % 60, columns[0], columns[1],
                 columns[2]);
    }
}

void printHeatmap(TextLines& out) {
    out.line("heatmap", "%s", "each day's block means from midnight");
    HeatmapCursor cursor{0};
    static HeatmapDay day;
    while (nextHeatmapDay(&cursor, &day)) {
        textSinkPrintf(out.sink, "%-*s%04u-%02u-%02u", out.labelWidth, "", 2000u + day.date.year,
                       day.date.month, day.date.day);
        for (uint32_t slot = 0; slot < day.slotCount; ++slot)
            textSinkPrintf(out.sink, " %s",
                           day.counts[slot] ? decimal(day.meanHundredths[slot], 2).text : NONE);
        textSinkPut(out.sink, "\n");
    }
}

void printDuration(const LoadSummary& s, TextLines& out) {
    LoadDuration duration;
    computeLoadDuration({s.first, s.count}, &duration);
    out.line("duration", "%s", "% of time  samples  blocks");
    for (int p = 0; p < DURATION_POINTS; ++p)
        out.line("", "%3d %%  %s  %s", p,
                 duration.samplesKnown ? figure("%u", duration.samples[p]).text : NONE,
                 duration.blocksKnown ? decimal(duration.blockHundredths[p], 2).text : NONE);
}

} // namespace

void writeSummaryText(const LoadSummary& s, const LoadSummaryRequest& request,
                      const SummaryParts& parts, const char* file, TextSink* sink) {
    // Wide enough for every label and two spaces.
    int width = int(sizeof "maximum demand") + 1;
    for (int k = 0; k < s.thresholdCount; ++k) {
        const int label = std::snprintf(nullptr, 0, "at or above %u %%", s.above[k].percent);
        width = label + 2 > width ? label + 2 : width;
    }
    TextLines out{width, sink};
    out.line("records", "%u", s.count);
    out.line("value samples", "%u", s.values);
    if (s.count > 0) {
        printFigures(s, request, out);
        if (parts.blocks)
            printBlocks(out);
        if (parts.excursions)
            printExcursions(s, request, out);
        if (parts.profile)
            printProfile(out);
        if (parts.heatmap)
            printHeatmap(out);
        if (parts.duration)
            printDuration(s, out);
    }
    if (file != nullptr)
        out.line("file", "%s", file);
    textSinkFlush(sink);
}
