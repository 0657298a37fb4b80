#include "tools/common/summary_options.h"

#include <cstring>

#include "base/whole_number.h"
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

int parseAbove(const char* text, LoadSummaryRequest* request) {
    request->thresholdCount = 0;
    for (const char* at = text;; ++at) {
        const size_t length = std::strcspn(at, ",");
        uint64_t percent = 0;
        if (length == 0 || request->thresholdCount >= LOAD_THRESHOLDS_MAX)
            return toolUsageError("--above takes up to %d whole percents, as 80,100: %s",
                                  LOAD_THRESHOLDS_MAX, text);
        if (!parseWholeNumber(at, length, LOAD_THRESHOLD_HIGHEST, &percent))
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
    constexpr int MOST_DECIMALS = 3;
    const size_t wholeLength = std::strcspn(text, ".");
    uint64_t whole = 0;
    if (!parseWholeNumber(text, wholeLength, RATED_MILLI_KW_HIGHEST / 1000, &whole))
        return false;
    uint64_t thousandths = 0;
    if (text[wholeLength] == '.') {
        const char* decimals = text + wholeLength + 1;
        const size_t count = std::strlen(decimals);
        if (count > MOST_DECIMALS || !parseWholeNumber(decimals, count, 999, &thousandths))
            return false;
        for (size_t k = count; k < MOST_DECIMALS; ++k)
            thousandths *= 10;
    }
    *milliKw = whole * 1000 + thousandths;
    return *milliKw != 0 && *milliKw <= RATED_MILLI_KW_HIGHEST;
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
        uint64_t minutes = 0;
        if (!parseWholeNumber(value, MINUTES_PER_DAY, &minutes) ||
            !demandMinutesValid(uint32_t(minutes)))
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
