// The figures of the load summary as the tools print them: numbers with a
// fixed count of decimals, stamps as the CSV writes them, and null.
#pragma once
#include <cstdint>

#include "data/sample_store.h"

// A figure as it is printed: a number, a quoted stamp, or null.
struct Figure {
    char text[64];
};

Figure figure(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A whole number of hundredths (decimals 2) or thousandths (3) or ...
Figure decimal(uint64_t scaled, int decimals);
// A record's stamp in ISO 8601 local time, quoted for JSON; a stamp that is
// no calendar time is null in JSON and says so in text.
Figure stamp(const SampleRecord& record, bool json);
// The text's mark of a figure there is none of.
constexpr const char* NONE = "-";
