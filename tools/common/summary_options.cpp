#include "tools/common/summary_options.h"

#include <cstring>

#include "base/whole_number.h"
#include "data/load_request_text.h"
#include "data/record_range.h"
#include "tools/common/tool_command_line.h"

const char SUMMARY_USAGE[] =
    "  --summary          print the load summary: records, values, first and last\n"
    "                     stamp, minimum and maximum and when, mean, energy,\n"
    "                     maximum demand, load factor, time at or above levels,\n"
    "                     markers, gaps\n"
    "  --json             the summary as one JSON object instead of text\n"
    "  --blocks           the summary lists every demand block\n"
    "  --excursions       ... every run at or above each --above level\n"
    "  --profile          ... the daily profile: all days, workdays, weekends\n"
    "  --heatmap          ... each day's demand blocks\n"
    "  --duration         ... the load duration curve of samples and blocks\n"
    "  --report OUT.html  write the survey report: one HTML file with its charts\n"
    "  --title TEXT       the report's title (default: its file's name)\n"
    "  --demand-minutes N the demand blocks' length in minutes, aligned to the\n"
    "                     clock; it must divide a day (default 15)\n"
    "  --above PCT[,PCT...]\n"
    "                     levels in whole percent to count the time at or above\n"
    "                     (default 80,100)\n"
    "  --rated-kw KW      the rated power: maximum, mean, demand and energy in kW\n"
    "  --from STAMP, --to STAMP\n"
    "                     only the records stamped from (inclusive) to (exclusive),\n"
    "                     as 2009-12-25T14:30:05 or 2009-12-25\n"
    "  --                 the options end: what follows is a name\n";

namespace {

struct Flag {
    const char* name;
    bool SummaryOptions::*field;
};
const Flag PART_FLAGS[] = {{"--blocks", &SummaryOptions::blocks},
                           {"--excursions", &SummaryOptions::excursions},
                           {"--profile", &SummaryOptions::profile},
                           {"--heatmap", &SummaryOptions::heatmap},
                           {"--duration", &SummaryOptions::duration}};

const char* const VALUED[] = {"--demand-minutes", "--above", "--rated-kw", "--report",
                              "--title",          "--from",  "--to"};

int takeValue(const char* option, const char* value, SummaryOptions* options) {
    if (std::strcmp(option, "--report") == 0) {
        if (value[0] == '\0')
            return toolUsageError("--report takes the name of the report to write");
        options->report = value;
    } else if (std::strcmp(option, "--title") == 0) {
        options->title = value;
        options->needsReport = option;
    } else if (std::strcmp(option, "--from") == 0 || std::strcmp(option, "--to") == 0) {
        const bool from = option[2] == 'f';
        int64_t* moment = from ? &options->from : &options->to;
        (from ? options->fromText : options->toText) = value;
        if (!parseStampText(value, moment))
            return toolUsageError("%s takes a calendar time from 2000 to 2255, as "
                                  "2009-12-25T14:30:05 or 2009-12-25: %s",
                                  option, value);
    } else if (std::strcmp(option, "--demand-minutes") == 0) {
        options->needsSummaryOrReport = option;
        uint64_t minutes = 0;
        if (!parseWholeNumber(value, MINUTES_PER_DAY, &minutes) ||
            !demandMinutesValid(uint32_t(minutes)))
            return toolUsageError("--demand-minutes takes minutes that divide a day, as 15: %s",
                                  value);
        options->request.demandMinutes = uint32_t(minutes);
    } else if (std::strcmp(option, "--above") == 0) {
        options->needsSummaryOrReport = option;
        if (value[0] == '\0' || !parseThresholdText(value, &options->request))
            return toolUsageError("--above takes up to %d whole percents up to %u, as 80,100: %s",
                                  LOAD_THRESHOLDS_MAX, LOAD_THRESHOLD_HIGHEST, value);
    } else {
        options->needsSummaryOrReport = option;
        if (!parseRatedKwText(value, &options->request.ratedMilliKw))
            return toolUsageError(
                "--rated-kw takes kW above 0, at most 1000000, as 250 or 250.5: %s", value);
    }
    return 0;
}

} // namespace

void summaryOptionsStart(SummaryOptions* options) {
    *options = SummaryOptions{};
    options->request = defaultLoadSummaryRequest();
    options->from = RANGE_OPEN_START;
    options->to = RANGE_OPEN_END;
}

int takeSharedOption(int argc, char** argv, int* i, SummaryOptions* options, void (*printUsage)()) {
    const char* option = argv[*i];
    if (options->optionsEnded)
        return 0;
    if (std::strcmp(option, "--") == 0) {
        options->optionsEnded = true;
        return 1;
    }
    if (answerInformationOption(option, printUsage))
        return TOOL_ANSWERED;
    if (std::strcmp(option, "--summary") == 0) {
        options->wanted = true;
        return 1;
    }
    if (std::strcmp(option, "--json") == 0) {
        options->json = true;
        options->needsSummary = option;
        return 1;
    }
    for (const Flag& flag : PART_FLAGS) {
        if (std::strcmp(option, flag.name) == 0) {
            options->*flag.field = true;
            options->needsSummaryOrReport = option;
            return 1;
        }
    }
    for (const char* valued : VALUED) {
        if (std::strcmp(option, valued) != 0)
            continue;
        if (*i + 1 >= argc)
            return toolUsageError("missing value after %s", option);
        const int err = takeValue(option, argv[++*i], options);
        return err != 0 ? err : 1;
    }
    return 0;
}

int checkSummaryOptions(const SummaryOptions& options) {
    if (!options.wanted && options.needsSummary != nullptr)
        return toolUsageError("%s needs --summary", options.needsSummary);
    if (!options.wanted && options.report == nullptr && options.needsSummaryOrReport != nullptr)
        return toolUsageError("%s needs --summary or --report", options.needsSummaryOrReport);
    if (options.report == nullptr && options.needsReport != nullptr)
        return toolUsageError("%s needs --report", options.needsReport);
    if (options.from >= options.to)
        return toolUsageError("--from must be before --to");
    return 0;
}
