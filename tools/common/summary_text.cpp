#include "tools/common/summary_text.h"

#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "data/sample_store.h"
#include "tools/common/summary_figures.h"

namespace {

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

} // namespace

void printSummaryText(const LoadSummary& s, const SummaryOptions& options, const char* file) {
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
