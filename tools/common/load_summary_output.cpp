#include "tools/common/load_summary_output.h"

#include <cstdio>

#include "data/record_range.h"
#include "output/summary_text.h"
#include "output/survey_report.h"
#include "platform/clock.h"
#include "tools/common/output_file.h"
#include "tools/common/summary_json.h"
#include "tools/common/tool_command_line.h"

bool keepRecordRange(const SummaryOptions& options) {
    if (options.fromText == nullptr && options.toText == nullptr)
        return true;
    if (keepRecordsBetween(options.from, options.to) > 0)
        return true;
    toolError("no record is stamped from %s to %s",
              options.fromText != nullptr ? options.fromText : "the first",
              options.toText != nullptr ? options.toText : "the last");
    return false;
}

namespace {

void toStandardOutput(const char* text, size_t length) {
    std::fwrite(text, 1, length, stdout);
}

} // namespace

void printLoadSummary(const SummaryOptions& options, const char* file) {
    LoadSummary summary;
    summarizeLoad(options.request, &summary);
    if (options.json) {
        printSummaryJson(summary, options);
    } else {
        static TextSink sink;
        textSinkStart(&sink, toStandardOutput);
        const SummaryParts parts{options.blocks, options.excursions, options.profile,
                                 options.heatmap, options.duration};
        writeSummaryText(summary, options.request, parts, file, &sink);
    }
    std::fflush(stdout);
}

bool writeReportFile(const SummaryOptions& options, const char* dataName, uint16_t languageBase) {
    SurveyReportRequest request{};
    request.scope = wholeStore();
    request.summary = options.request;
    request.title = options.title;
    request.fileName = dataName;
    request.languageBase = languageBase;
    request.generator = toolVersionText();
    getLocalTime(&request.made);
    const int err = writeSurveyReport(options.report, request);
    if (err != 0)
        reportWriteFailure(options.report, err);
    return err == 0;
}
