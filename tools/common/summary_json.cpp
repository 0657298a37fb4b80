#include "tools/common/summary_json.h"

#include <cstdio>
#include <initializer_list>

#include "data/sample_store.h"
#include "tools/common/summary_figures.h"

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

const char* orNull(bool known, const Figure& value) {
    return known ? value.text : "null";
}

} // namespace

void printSummaryJson(const LoadSummary& s, const SummaryOptions& options) {
    const bool any = s.count > 0;
    const bool values = s.values > 0;
    JsonObject json;
    json.member("count", figure("%u", s.count));
    json.member("values", figure("%u", s.values));
    json.member("interval_s", orNull(any, decimal(s.interval, 2)));
    json.member("first", any ? stamp(sampleStore[0], true).text : "null");
    json.member("last", any ? stamp(sampleStore[s.count - 1], true).text : "null");
    json.member("min", orNull(values, figure("%u", s.minimum)));
    json.member("max", orNull(values, figure("%u", s.maximum)));
    json.member("max_time", values ? stamp(sampleStore[s.maximumIndex], true).text : "null");
    json.member("mean", orNull(values, decimal(s.meanHundredths, 2)));
    json.member("demand_minutes", orNull(any, figure("%u", s.demandMinutes)));
    json.member("max_demand", orNull(s.demandFound, decimal(s.maxDemandHundredths, 2)));
    json.member("max_demand_start", s.demandFound ? stamp(s.demandStart, true).text : "null");
    json.member("load_factor", orNull(s.loadFactorKnown, decimal(s.loadFactorThousandths, 3)));
    if (!any) {
        for (const char* key : {"above", "markers", "gaps"})
            json.member(key, "null");
    } else {
        json.member("above", "[");
        for (int k = 0; k < s.thresholdCount; ++k) {
            const LoadThresholdCount& above = s.above[k];
            std::printf(
                "%s\n    {\"percent\": %u, \"samples\": %u, \"seconds\": %s, \"share\": %s}",
                k == 0 ? "" : ",", above.percent, above.samples,
                decimal(above.secondsHundredths, 2).text,
                orNull(values, decimal(above.shareTenThousandths, 4)));
        }
        std::printf("%s]", s.thresholdCount > 0 ? "\n  " : "");
        json.member("markers", "[");
        bool first = true;
        for (uint32_t i = nextMarker(0); i < s.count; i = nextMarker(i + 1), first = false)
            std::printf("%s\n    {\"time\": %s, \"code\": %u}", first ? "" : ",",
                        stamp(sampleStore[i], true).text, sampleStore[i].value);
        std::printf("%s]", first ? "" : "\n  ");
        json.member("gaps", "[");
        first = true;
        uint32_t length = 0;
        for (uint32_t i = nextGapRun(0, &length); i < s.count;
             i = nextGapRun(i + length, &length), first = false)
            std::printf("%s\n    {\"start\": %s, \"samples\": %u}", first ? "" : ",",
                        stamp(sampleStore[i], true).text, length);
        std::printf("%s]", first ? "" : "\n  ");
    }
    if (options.request.ratedMilliKw != 0) {
        json.member("max_kw", orNull(values, decimal(s.maxKwHundredths, 2)));
        json.member("mean_kw", orNull(values, decimal(s.meanKwHundredths, 2)));
        json.member("max_demand_kw", orNull(s.demandFound, decimal(s.maxDemandKwHundredths, 2)));
    }
    json.end();
}
