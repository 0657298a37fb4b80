#include "tools/common/load_summary_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "data/csv_export.h"
#include "data/sample_store.h"
#include "tools/common/tool_command_line.h"

const char SUMMARY_USAGE[] =
    "  --summary          print the load summary: records, values, first and last\n"
    "                     stamp, minimum, maximum and when, mean, maximum demand,\n"
    "                     load factor, time at or above levels, markers, gaps\n"
    "  --json             the summary as one JSON object instead of text\n"
    "  --demand-minutes N the demand blocks' length in minutes, aligned to the\n"
    "                     clock; it must divide a day (default 15)\n"
    "  --above PCT[,PCT...]\n"
    "                     levels in whole percent to count the time at or above\n"
    "                     (default 80,100)\n"
    "  --rated-kw KW      the rated power: maximum, mean and demand also in kW\n";

namespace {

// A figure as it is printed: a number, a quoted stamp, or null.
struct Figure {
    char text[64];
};

Figure figure(const char* format, ...) __attribute__((format(printf, 1, 2)));
Figure figure(const char* format, ...) {
    Figure out;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(out.text, sizeof out.text, format, arguments);
    va_end(arguments);
    return out;
}

// A whole number of hundredths (decimals 2) or thousandths (3) or ...
Figure decimal(uint64_t scaled, int decimals) {
    uint64_t unit = 1;
    for (int k = 0; k < decimals; ++k)
        unit *= 10;
    return figure("%llu.%0*llu", (unsigned long long)(scaled / unit), decimals,
                  (unsigned long long)(scaled % unit));
}

const char* const NONE = "-";
const char* const NO_CALENDAR_TIME = "no calendar time";

Figure stamp(const SampleRecord& record, bool json) {
    char iso[CSV_STAMP_SIZE];
    if (csvStampText(record, iso) == 0)
        return figure("%s", json ? "null" : NO_CALENDAR_TIME);
    return figure(json ? "\"%s\"" : "%s", iso);
}

// ---- JSON ------------------------------------------------------------------

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

void printJson(const LoadSummary& s, const SummaryOptions& options) {
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

// ---- text --------------------------------------------------------------------

struct TextLines {
    int labelWidth;
    void line(const char* label, const char* format, ...) __attribute__((format(printf, 3, 4))) {
        std::printf("%-*s", labelWidth, label);
        va_list arguments;
        va_start(arguments, format);
        std::vprintf(format, arguments);
        va_end(arguments);
        std::putchar('\n');
    }
};

// " = 467.50 kW" after a percent, with a rated power.
Figure inKw(const SummaryOptions& options, uint64_t kwHundredths) {
    if (options.request.ratedMilliKw == 0)
        return figure("%s", "");
    return figure(" = %s kW", decimal(kwHundredths, 2).text);
}

void printFigures(const LoadSummary& s, const SummaryOptions& options, TextLines& out) {
    const bool values = s.values > 0;
    out.line("interval", "%s s", decimal(s.interval, 2).text);
    out.line("first", "%s", stamp(sampleStore[0], false).text);
    out.line("last", "%s", stamp(sampleStore[s.count - 1], false).text);
    if (values) {
        out.line("minimum", "%u %%", s.minimum);
        out.line("maximum", "%u %%%s at %s", s.maximum, inKw(options, s.maxKwHundredths).text,
                 stamp(sampleStore[s.maximumIndex], false).text);
        out.line("mean", "%s %%%s", decimal(s.meanHundredths, 2).text,
                 inKw(options, s.meanKwHundredths).text);
    } else {
        for (const char* label : {"minimum", "maximum", "mean"})
            out.line(label, "%s", NONE);
    }
    if (s.demandFound)
        out.line("maximum demand", "%s %%%s in the %u-minute block from %s",
                 decimal(s.maxDemandHundredths, 2).text,
                 inKw(options, s.maxDemandKwHundredths).text, s.demandMinutes,
                 stamp(s.demandStart, false).text);
    else
        out.line("maximum demand", "%s (no %u-minute block holds half its samples)", NONE,
                 s.demandMinutes);
    out.line("load factor", "%s",
             s.loadFactorKnown ? decimal(s.loadFactorThousandths, 3).text : NONE);
    for (int k = 0; k < s.thresholdCount; ++k) {
        const LoadThresholdCount& above = s.above[k];
        char label[32];
        std::snprintf(label, sizeof label, "at or above %u %%", above.percent);
        out.line(label, "%u samples, %s s, share %s", above.samples,
                 decimal(above.secondsHundredths, 2).text,
                 values ? decimal(above.shareTenThousandths, 4).text : NONE);
    }
    out.line("markers", "%u", s.markers);
    for (uint32_t i = nextMarker(0); i < s.count; i = nextMarker(i + 1))
        out.line("", "%s  code %u", stamp(sampleStore[i], false).text, sampleStore[i].value);
    out.line("gaps", "%u", s.gapRuns);
    uint32_t length = 0;
    for (uint32_t i = nextGapRun(0, &length); i < s.count; i = nextGapRun(i + length, &length))
        out.line("", "%s  %u samples", stamp(sampleStore[i], false).text, length);
}

void printText(const LoadSummary& s, const SummaryOptions& options, const char* file) {
    // Wide enough for every label and two spaces.
    int width = int(sizeof "maximum demand") + 1;
    for (int k = 0; k < s.thresholdCount; ++k) {
        const int label = std::snprintf(nullptr, 0, "at or above %u %%", s.above[k].percent);
        width = label + 2 > width ? label + 2 : width;
    }
    TextLines out{width};
    out.line("records", "%u", s.count);
    out.line("value samples", "%u", s.values);
    if (s.count > 0)
        printFigures(s, options, out);
    if (file != nullptr)
        out.line("file", "%s", file);
}

bool parseWhole(const char* text, unsigned long highest, unsigned long* value) {
    if (*text < '0' || *text > '9')
        return false;
    char* end = nullptr;
    *value = std::strtoul(text, &end, 10);
    return *end == '\0' && *value <= highest;
}

int parseAbove(const char* text, LoadSummaryRequest* request) {
    request->thresholdCount = 0;
    for (const char* at = text;; ++at) {
        char one[16];
        const size_t length = std::strcspn(at, ",");
        unsigned long percent = 0;
        if (length == 0 || length >= sizeof one || request->thresholdCount >= LOAD_THRESHOLDS_MAX)
            return toolUsageError("--above takes up to %d whole percents, as 80,100: %s",
                                  LOAD_THRESHOLDS_MAX, text);
        std::memcpy(one, at, length);
        one[length] = '\0';
        if (!parseWhole(one, LOAD_THRESHOLD_HIGHEST, &percent))
            return toolUsageError("--above takes whole percents up to %u: %s",
                                  LOAD_THRESHOLD_HIGHEST, text);
        request->thresholds[request->thresholdCount++] = uint16_t(percent);
        at += length;
        if (*at == '\0')
            return 0;
    }
}

// A decimal number of kW with up to three decimals, in thousandths.
bool parseKw(const char* text, uint64_t* milliKw) {
    uint64_t whole = 0;
    const char* at = text;
    for (; *at >= '0' && *at <= '9'; ++at) {
        whole = whole * 10 + uint64_t(*at - '0');
        if (whole > RATED_MILLI_KW_HIGHEST)
            return false;
    }
    if (at == text)
        return false;
    uint64_t thousandths = 0;
    int decimals = 0;
    if (*at == '.') {
        for (++at; *at >= '0' && *at <= '9' && decimals < 3; ++at, ++decimals)
            thousandths = thousandths * 10 + uint64_t(*at - '0');
        if (decimals == 0)
            return false;
    }
    for (; decimals < 3; ++decimals)
        thousandths *= 10;
    *milliKw = whole * 1000 + thousandths;
    return *at == '\0' && *milliKw != 0 && *milliKw <= RATED_MILLI_KW_HIGHEST;
}

} // namespace

void summaryOptionsStart(SummaryOptions* options) {
    *options = SummaryOptions{};
    options->request = defaultLoadSummaryRequest();
}

int takeSummaryOption(int argc, char** argv, int* i, SummaryOptions* options) {
    const char* option = argv[*i];
    if (std::strcmp(option, "--summary") == 0) {
        options->wanted = true;
        return 1;
    }
    if (std::strcmp(option, "--json") == 0) {
        options->json = true;
        options->optionWithoutSummary = option;
        return 1;
    }
    const bool takesValue = std::strcmp(option, "--demand-minutes") == 0 ||
                            std::strcmp(option, "--above") == 0 ||
                            std::strcmp(option, "--rated-kw") == 0;
    if (!takesValue)
        return 0;
    if (*i + 1 >= argc)
        return toolUsageError("missing value after %s", option);
    const char* value = argv[++*i];
    options->optionWithoutSummary = option;
    if (std::strcmp(option, "--demand-minutes") == 0) {
        unsigned long minutes = 0;
        if (!parseWhole(value, MINUTES_PER_DAY, &minutes) || !demandMinutesValid(uint32_t(minutes)))
            return toolUsageError("--demand-minutes takes minutes that divide a day, as 15: %s",
                                  value);
        options->request.demandMinutes = uint32_t(minutes);
    } else if (std::strcmp(option, "--above") == 0) {
        const int err = parseAbove(value, &options->request);
        if (err != 0)
            return err;
    } else if (!parseKw(value, &options->request.ratedMilliKw)) {
        return toolUsageError("--rated-kw takes kW above 0, at most 1000000, as 250 or 250.5: %s",
                              value);
    }
    return 1;
}

int checkSummaryOptions(const SummaryOptions& options) {
    if (!options.wanted && options.optionWithoutSummary != nullptr)
        return toolUsageError("%s needs --summary", options.optionWithoutSummary);
    return 0;
}

void printLoadSummary(const SummaryOptions& options, const char* file) {
    LoadSummary summary;
    summarizeLoad(options.request, &summary);
    if (options.json)
        printJson(summary, options);
    else
        printText(summary, options, file);
    std::fflush(stdout);
}
