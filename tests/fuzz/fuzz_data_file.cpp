// Data files from anywhere: a refused file leaves the data in memory exactly
// as it was; an accepted one has a count within the store, an interval other
// than 0, exactly the size its count gives, and becomes the data byte for byte.
// An accepted file is then summarized with every part, over the whole store
// and over a scope the input chooses, and its survey report written: the load
// factor stays at or below 1, each threshold's excursions hold exactly the
// samples at or above it, and the report is whole.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "data/data_file_format.h"
#include "data/load_excursions.h"
#include "data/sample_store.h"
#include "output/survey_report.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const DataHeader EARLIER = {37, 5, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};

uint8_t earlierByte(size_t i) {
    return uint8_t(i * 31 + 11);
}

// Every part of the summary of scope, with the highest rating there is, so
// that the sums of energy run as large as they can.
void summarizeEverything(const RecordScope& scope, uint32_t demandMinutes) {
    LoadSummaryRequest request = defaultLoadSummaryRequest();
    request.demandMinutes = demandMinutes;
    request.ratedMilliKw = RATED_MILLI_KW_HIGHEST;
    request.thresholdCount = 4;
    const uint16_t thresholds[] = {0, 80, 254, LOAD_THRESHOLD_HIGHEST};
    for (int k = 0; k < 4; ++k)
        request.thresholds[k] = thresholds[k];
    LoadSummary summary;
    summarizeLoadIn(request, scope, &summary);
    fuzzRequire(!summary.loadFactorKnown || summary.loadFactorThousandths <= 1000,
                "the load factor is at most 1");
    static ExcursionList list;
    startExcursions(&list, scope, request);
    uint64_t held[4] = {};
    for (Excursion e; nextExcursion(&list, &e);) {
        fuzzRequire(e.samples > 0 && e.startIndex <= e.endIndex &&
                        e.endIndex < scope.first + scope.count,
                    "an excursion lies within its scope");
        for (int k = 0; k < 4; ++k)
            held[k] += e.percent == thresholds[k] ? e.samples : 0;
    }
    for (int k = 0; k < 4; ++k)
        fuzzRequire(held[k] == summary.above[k].samples,
                    "the excursions hold the samples at or above their threshold");
    // The report draws the daily profile, the heat map and the duration curve.
    static const std::string report = fuzzScratchDirectory() + "/report.html";
    SurveyReportRequest asked{scope, request, "<title>", "input.kvd", 100, "fuzz", {}};
    fuzzRequire(writeSurveyReport(report.c_str(), asked) == 0, "the report is written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = fuzzScratchDirectory() + "/input.kvd";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    fuzzRequire(fd >= 0 && write(fd, data, size) == ssize_t(size), "the input is on disk");
    close(fd);

    // Data on display before the open: as many records as the input could
    // replace, and one more.
    size_t watched = size / SAMPLE_RECORD_SIZE + 1;
    uint8_t* records = reinterpret_cast<uint8_t*>(sampleStore);
    for (size_t i = 0; i < watched * SAMPLE_RECORD_SIZE; ++i)
        records[i] = earlierByte(i);
    dataHeader = EARLIER;

    int result = readDataFile(path.c_str(), false);

    if (result != 0) {
        fuzzRequire(dataFileFaultMessage(result, false) != 0,
                    "a refused file is refused with a message of the catalogue");
        fuzzRequire(std::memcmp(&dataHeader, &EARLIER, sizeof EARLIER) == 0,
                    "a refused file leaves the header");
        for (size_t i = 0; i < watched * SAMPLE_RECORD_SIZE; ++i)
            fuzzRequire(records[i] == earlierByte(i), "a refused file leaves the records");
        return 0;
    }
    fuzzRequire(dataHeader.count <= SAMPLE_STORE_CAPACITY, "the count fits the store");
    fuzzRequire(dataHeader.interval != 0, "the interval is not 0");
    fuzzRequire(size == DATA_HEADER_SIZE + size_t(SAMPLE_RECORD_SIZE) * dataHeader.count,
                "the file is exactly its header and records");
    DataHeader read;
    decodeDataHeader(data, &read);
    fuzzRequire(std::memcmp(&dataHeader, &read, sizeof read) == 0, "the header is the file's");
    fuzzRequire(std::memcmp(records, data + DATA_HEADER_SIZE, size - DATA_HEADER_SIZE) == 0,
                "the records are the file's");

    static const uint32_t DEMAND_MINUTES[] = {1, 15, 60, 1440};
    const uint32_t count = dataHeader.count;
    summarizeEverything({0, count}, DEMAND_MINUTES[data[0] % 4]);
    const uint32_t first = count == 0 ? 0 : data[1] % count;
    summarizeEverything({first, (count - first) / 2}, DEMAND_MINUTES[data[2] % 4]);
    return 0;
}
