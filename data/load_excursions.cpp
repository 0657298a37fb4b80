#include "data/load_excursions.h"

#include "data/time_base.h"

namespace {

constexpr uint64_t HUNDREDTHS_PER_MINUTE = 6000;
constexpr uint64_t PERCENT_HOUR_DIVISOR = 100ull * 3600; // interval hundredths per hour
constexpr uint64_t KWH_DIVISOR = 100ull * 1000 * 100 * 3600;

// Moves the window up to the run starting at start: it then holds the
// records before start stamped no earlier than a demand period before it.
void moveWindow(const ExcursionList& list, ExcursionScan* scan, uint32_t start, Excursion* run) {
    for (; scan->windowEnd < start; ++scan->windowEnd) {
        const SampleRecord& r = sampleStore[scan->windowEnd];
        if (isValueCode(r.value) && stampMomentCached(r, &scan->endStamps) >= 0) {
            scan->windowSum += r.value;
            ++scan->windowValues;
        }
    }
    const int64_t startMoment = stampMomentCached(sampleStore[start], &scan->runStamps);
    run->beforeKnown = false;
    if (startMoment < 0)
        return;
    const int64_t periodStart = startMoment - int64_t(list.demandMinutes * HUNDREDTHS_PER_MINUTE);
    for (; scan->windowFirst < start; ++scan->windowFirst) {
        const SampleRecord& r = sampleStore[scan->windowFirst];
        const int64_t moment = stampMomentCached(r, &scan->firstStamps);
        if (moment >= periodStart)
            break;
        if (isValueCode(r.value) && moment >= 0) {
            scan->windowSum -= r.value;
            --scan->windowValues;
        }
    }
    const uint64_t needed = list.demandMinutes * HUNDREDTHS_PER_MINUTE;
    if (scan->windowValues == 0 || 2ull * scan->windowValues * list.interval < needed)
        return;
    run->beforeKnown = true;
    run->beforeHundredths = uint32_t(roundedQuotient(100 * scan->windowSum, scan->windowValues));
}

// Finds the scan's next run, if any, into scan->found.
void findRun(const ExcursionList& list, ExcursionScan* scan) {
    const uint32_t end = list.scope.first + list.scope.count;
    uint32_t i = scan->next;
    while (i < end && !(isValueCode(sampleStore[i].value) && sampleStore[i].value >= scan->percent))
        ++i;
    if (i >= end) {
        scan->next = end;
        return;
    }
    Excursion& run = scan->found;
    run = Excursion{};
    run.percent = scan->percent;
    run.startIndex = i;
    uint64_t sum = 0;
    uint64_t above = 0;
    for (; i < end && sampleStore[i].value != SAMPLE_GAP; ++i) {
        const uint8_t code = sampleStore[i].value;
        if (isMarkerCode(code))
            continue;
        if (code < scan->percent)
            break;
        if (run.samples == 0 || code > run.peak) {
            run.peak = code;
            run.peakIndex = i;
        }
        ++run.samples;
        run.endIndex = i;
        sum += code;
        above += code - scan->percent;
    }
    scan->next = i;
    run.secondsHundredths = uint64_t(run.samples) * list.interval;
    run.meanHundredths = uint32_t(roundedQuotient(100 * sum, run.samples));
    run.abovePercentHourThousandths =
        roundedQuotient(uint128(above) * list.interval * 1000, PERCENT_HOUR_DIVISOR);
    run.aboveKwhThousandths =
        roundedQuotient(uint128(above) * list.ratedMilliKw * list.interval * 1000, KWH_DIVISOR);
    if (list.detail == EXCURSIONS_WHOLE)
        moveWindow(list, scan, run.startIndex, &run);
    scan->pending = true;
}

} // namespace

void startExcursions(ExcursionList* list, const RecordScope& scope,
                     const LoadSummaryRequest& request, ExcursionDetail detail) {
    list->scope = scope;
    list->detail = detail;
    list->interval = dataHeader.interval;
    list->demandMinutes = request.demandMinutes;
    list->ratedMilliKw = request.ratedMilliKw;
    list->scanCount = 0;
    for (int k = 0; k < request.thresholdCount && k < LOAD_THRESHOLDS_MAX; ++k) {
        ExcursionScan& scan = list->scans[list->scanCount++];
        scan = ExcursionScan{};
        scan.percent = request.thresholds[k];
        scan.next = scan.windowFirst = scan.windowEnd = scope.first;
        findRun(*list, &scan);
    }
}

bool nextExcursion(ExcursionList* list, Excursion* out) {
    ExcursionScan* earliest = nullptr;
    for (int k = 0; k < list->scanCount; ++k) {
        ExcursionScan& scan = list->scans[k];
        if (scan.pending &&
            (earliest == nullptr || scan.found.startIndex < earliest->found.startIndex))
            earliest = &scan;
    }
    if (earliest == nullptr)
        return false;
    *out = earliest->found;
    earliest->pending = false;
    findRun(*list, earliest);
    return true;
}
