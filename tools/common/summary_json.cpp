#include "tools/common/summary_json.h"

#include <cstdio>
#include <initializer_list>

#include "data/load_duration.h"
#include "data/load_excursions.h"
#include "data/load_heatmap.h"
#include "data/load_profile.h"
#include "data/sample_store.h"
#include "output/summary_figures.h"

namespace {

struct JsonObject {
    bool first = true;
    void member(const char* key, const char* value) {
        std::printf("%s\n  \"%s\": %s", first ? "{" : ",", key, value);
        first = false;
    }
    void member(const char* key, const Figure& value) { member(key, value.text); }
    void end() { std::printf("\n}\n"); }
};

// A list's items, one a line at the given indent.
struct JsonList {
    const char* indent;
    bool first = true;
    void item() {
        std::printf("%s\n%s", first ? "" : ",", indent);
        first = false;
    }
    void end(const char* outer) { std::printf("%s]", first ? "" : outer); }
};

const char* orNull(bool known, const Figure& value) {
    return known ? value.text : "null";
}

void printMarkersAndGaps(const LoadSummary& s, JsonObject& json) {
    const RecordScope scope{s.first, s.count};
    const uint32_t end = s.first + s.count;
    json.member("markers", "[");
    JsonList markers{"    "};
    for (uint32_t i = nextMarker(scope, s.first); i < end; i = nextMarker(scope, i + 1)) {
        markers.item();
        std::printf("{\"time\": %s, \"code\": %u}", stamp(sampleStore[i], true).text,
                    sampleStore[i].value);
    }
    markers.end("\n  ");
    json.member("gaps", "[");
    JsonList gaps{"    "};
    uint32_t length = 0;
    for (uint32_t i = nextGapRun(scope, s.first, &length); i < end;
         i = nextGapRun(scope, i + length, &length)) {
        gaps.item();
        std::printf("{\"start\": %s, \"samples\": %u, \"seconds\": %s}",
                    stamp(sampleStore[i], true).text, length,
                    decimal(uint64_t(length) * s.interval, 2).text);
    }
    gaps.end("\n  ");
}

void printBlocks(JsonObject& json) {
    json.member("blocks", "[");
    JsonList list{"    "};
    for (uint32_t k = 0; k < demandBlockCount; ++k) {
        const DemandBlock& block = demandBlocks[k];
        list.item();
        std::printf("{\"start\": %s, \"values\": %u, \"mean\": %s, \"counts\": %s}",
                    stamp(demandBlockStart(block), true).text, block.values,
                    block.values > 0 ? decimal(demandBlockMeanHundredths(block), 2).text : "null",
                    demandBlockCounts(block) ? "true" : "false");
    }
    list.end("\n  ");
}

void printExcursions(const LoadSummary& s, const SummaryOptions& options, JsonObject& json) {
    json.member("excursions", "[");
    JsonList list{"    "};
    ExcursionList excursions;
    startExcursions(&excursions, {s.first, s.count}, options.request);
    const bool rated = options.request.ratedMilliKw != 0;
    for (Excursion e; nextExcursion(&excursions, &e);) {
        list.item();
        std::printf("{\"percent\": %u, \"start\": %s, \"end\": %s, \"samples\": %u, "
                    "\"seconds\": %s, \"peak\": %u, \"peak_time\": %s, \"mean\": %s, "
                    "\"above_pct_h\": %s, \"above_kwh\": %s, \"before\": %s}",
                    e.percent, stamp(sampleStore[e.startIndex], true).text,
                    stamp(sampleStore[e.endIndex], true).text, e.samples,
                    decimal(e.secondsHundredths, 2).text, e.peak,
                    stamp(sampleStore[e.peakIndex], true).text, decimal(e.meanHundredths, 2).text,
                    decimal(e.abovePercentHourThousandths, 3).text,
                    orNull(rated, decimal(e.aboveKwhThousandths, 3)),
                    orNull(e.beforeKnown, decimal(e.beforeHundredths, 2)));
    }
    list.end("\n  ");
}

void printProfile(JsonObject& json) {
    static LoadProfile profile;
    computeLoadProfile(&profile);
    json.member("profile", "{");
    const char* const names[PROFILE_DAY_KINDS] = {"all", "workdays", "weekends"};
    for (int kind = 0; kind < PROFILE_DAY_KINDS; ++kind) {
        std::printf("%s\n    \"%s\": [", kind == 0 ? "" : ",", names[kind]);
        JsonList list{"      "};
        for (uint32_t slot = 0; slot < profile.slotCount; ++slot) {
            const ProfileSlot& p = profile.slots[kind][slot];
            const uint32_t minute = slot * demandBlockMinutes;
            const bool any = p.blocks > 0;
            list.item();
            std::printf(
                "{\"time\": \"%02u:%02u\", \"blocks\": %u, \"mean\": %s, \"min\": %s, "
                "\"max\": %s}",
                minute / 60, minute % 60, p.blocks, orNull(any, decimal(p.meanHundredths, 2)),
                orNull(any, decimal(p.minHundredths, 2)), orNull(any, decimal(p.maxHundredths, 2)));
        }
        list.end("\n    ");
    }
    std::printf("\n  }");
}

void printHeatmap(JsonObject& json) {
    json.member("heatmap", "[");
    JsonList list{"    "};
    HeatmapCursor cursor{0};
    static HeatmapDay day;
    while (nextHeatmapDay(&cursor, &day)) {
        list.item();
        std::printf("{\"date\": \"%04u-%02u-%02u\", \"means\": [", 2000u + day.date.year,
                    day.date.month, day.date.day);
        for (uint32_t slot = 0; slot < day.slotCount; ++slot)
            std::printf("%s%s", slot == 0 ? "" : ", ",
                        orNull(day.counts[slot], decimal(day.meanHundredths[slot], 2)));
        std::printf("]}");
    }
    list.end("\n  ");
}

void printDuration(const LoadSummary& s, JsonObject& json) {
    LoadDuration duration;
    computeLoadDuration({s.first, s.count}, &duration);
    json.member("duration", "{\n    \"samples\": ");
    if (!duration.samplesKnown)
        std::printf("null");
    for (int p = 0; p < DURATION_POINTS && duration.samplesKnown; ++p)
        std::printf("%s%u", p == 0 ? "[" : ", ", duration.samples[p]);
    std::printf("%s,\n    \"blocks\": ", duration.samplesKnown ? "]" : "");
    if (!duration.blocksKnown)
        std::printf("null");
    for (int p = 0; p < DURATION_POINTS && duration.blocksKnown; ++p)
        std::printf("%s%s", p == 0 ? "[" : ", ", decimal(duration.blockHundredths[p], 2).text);
    std::printf("%s\n  }", duration.blocksKnown ? "]" : "");
}

} // namespace

void printSummaryJson(const LoadSummary& s, const SummaryOptions& options) {
    const bool any = s.count > 0;
    const bool values = s.values > 0;
    const bool rated = options.request.ratedMilliKw != 0;
    JsonObject json;
    json.member("count", figure("%u", s.count));
    json.member("values", figure("%u", s.values));
    json.member("interval_s", orNull(any, decimal(s.interval, 2)));
    json.member("first", any ? stamp(sampleStore[s.first], true).text : "null");
    json.member("last", any ? stamp(sampleStore[s.first + s.count - 1], true).text : "null");
    json.member("min", orNull(values, figure("%u", s.minimum)));
    json.member("max", orNull(values, figure("%u", s.maximum)));
    json.member("max_time", values ? stamp(sampleStore[s.maximumIndex], true).text : "null");
    json.member("min_time", values ? stamp(sampleStore[s.minimumIndex], true).text : "null");
    json.member("mean", orNull(values, decimal(s.meanHundredths, 2)));
    json.member("demand_minutes", orNull(any, figure("%u", s.demandMinutes)));
    json.member("max_demand", orNull(s.demandFound, decimal(s.maxDemandHundredths, 2)));
    json.member("max_demand_start", s.demandFound ? stamp(s.demandStart, true).text : "null");
    json.member("load_factor", orNull(s.loadFactorKnown, decimal(s.loadFactorThousandths, 3)));
    json.member("energy_s", orNull(any, decimal(s.valueSecondsHundredths, 2)));
    json.member("energy_kwh", orNull(any && rated, decimal(s.energyKwhThousandths, 3)));
    if (!any) {
        for (const char* key : {"above", "markers", "gaps"})
            json.member(key, "null");
    } else {
        json.member("above", "[");
        JsonList above{"    "};
        for (int k = 0; k < s.thresholdCount; ++k) {
            const LoadThresholdCount& level = s.above[k];
            above.item();
            std::printf("{\"percent\": %u, \"samples\": %u, \"seconds\": %s, \"share\": %s}",
                        level.percent, level.samples, decimal(level.secondsHundredths, 2).text,
                        orNull(values, decimal(level.shareTenThousandths, 4)));
        }
        above.end("\n  ");
        printMarkersAndGaps(s, json);
    }
    if (rated) {
        json.member("max_kw", orNull(values, decimal(s.maxKwHundredths, 2)));
        json.member("mean_kw", orNull(values, decimal(s.meanKwHundredths, 2)));
        json.member("max_demand_kw", orNull(s.demandFound, decimal(s.maxDemandKwHundredths, 2)));
    }
    // A file of no records has none of the parts either.
    if (options.blocks)
        any ? printBlocks(json) : json.member("blocks", "null");
    if (options.excursions)
        any ? printExcursions(s, options, json) : json.member("excursions", "null");
    if (options.profile)
        any ? printProfile(json) : json.member("profile", "null");
    if (options.heatmap)
        any ? printHeatmap(json) : json.member("heatmap", "null");
    if (options.duration)
        any ? printDuration(s, json) : json.member("duration", "null");
    json.end();
}
