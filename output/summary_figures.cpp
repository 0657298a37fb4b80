#include "output/summary_figures.h"

#include <cstdarg>
#include <cstdio>

#include "data/csv_export.h"

Figure figure(const char* format, ...) {
    Figure out;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(out.text, sizeof out.text, format, arguments);
    va_end(arguments);
    return out;
}

Figure decimal(uint64_t scaled, int decimals) {
    uint64_t unit = 1;
    for (int k = 0; k < decimals; ++k)
        unit *= 10;
    return figure("%llu.%0*llu", (unsigned long long)(scaled / unit), decimals,
                  (unsigned long long)(scaled % unit));
}

namespace {
const char* const NO_CALENDAR_TIME = "no calendar time";
} // namespace

Figure stamp(const SampleRecord& record, bool json) {
    char iso[CSV_STAMP_SIZE];
    if (csvStampText(record, iso) == 0)
        return figure("%s", json ? "null" : NO_CALENDAR_TIME);
    return figure(json ? "\"%s\"" : "%s", iso);
}
