// Excursions: each run of consecutive value samples at or above a threshold,
// with when it started and ended, how high and how long it went, the energy
// above the threshold and the load in the demand period before it, read one
// at a time in time order from a scope of records.
//
// A gap ends a run, and so does a value below the threshold. A marker does
// not: it is an event noted on the line (a switching, a visit), not a
// measurement, and the load it stands beside went on; a run that carried on
// through it is one excursion, not two. The marker is no value sample of the
// run, so the run's samples, seconds, mean and energy are those of its value
// samples alone, and every value sample at or above a threshold belongs to
// exactly one of that threshold's runs.
#pragma once
#include <cstdint>

#include "data/load_summary.h"
#include "data/time_base.h"

struct Excursion {
    uint16_t percent;           // the threshold
    uint32_t startIndex;        // the run's first value sample, in the store
    uint32_t endIndex;          // its last value sample
    uint32_t samples;           // value samples in the run
    uint64_t secondsHundredths; // samples x interval
    uint8_t peak;
    uint32_t peakIndex; // the first sample at the peak
    uint32_t meanHundredths;
    // sum of (value - threshold) x interval, in thousandths of a percent-hour
    uint64_t abovePercentHourThousandths;
    uint64_t aboveKwhThousandths; // the same in kWh, with a rated power
    // The mean of the value samples stamped in the demand period just before
    // the run's first stamp; unknown where they are fewer than a counting
    // block needs, or the start is no calendar time.
    bool beforeKnown;
    uint32_t beforeHundredths;
};

// One threshold's search: where it goes on, and the demand period before the
// next run as a window of records that only moves forward.
struct ExcursionScan {
    uint16_t percent;
    uint32_t next;        // the first record not yet looked at
    uint32_t windowFirst; // records windowFirst .. windowEnd - 1 stand before the run
    uint32_t windowEnd;
    uint64_t windowSum; // their calendar-stamped value samples
    uint32_t windowValues;
    StampCache firstStamps, endStamps, runStamps; // one for each place that moves
    bool pending;                                 // an excursion found and not yet handed out
    Excursion found;
};

// How much of each run a reader wants: the load before a run costs a second
// walk over the records, which a list for the eye does without.
enum ExcursionDetail { EXCURSIONS_WHOLE, EXCURSIONS_WITHOUT_BEFORE };

struct ExcursionList {
    RecordScope scope;
    ExcursionDetail detail;
    uint16_t interval;
    uint32_t demandMinutes;
    uint64_t ratedMilliKw;
    int scanCount;
    ExcursionScan scans[LOAD_THRESHOLDS_MAX];
};

// Starts the excursions of scope above each threshold of request; without
// the load before them, every run's before is unknown.
void startExcursions(ExcursionList* list, const RecordScope& scope,
                     const LoadSummaryRequest& request, ExcursionDetail detail = EXCURSIONS_WHOLE);
// The next excursion in time order (by first sample, then by the order of
// the thresholds). False when there is none left.
bool nextExcursion(ExcursionList* list, Excursion* out);
