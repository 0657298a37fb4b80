#include "app/report_command.h"

#include "app/analysis_window.h"
#include "app/file_dialog_folder.h"
#include "base/texts.h"
#include "output/survey_report.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "ui/frontend.h"

namespace {

constexpr const char* REPORT_FILTER_NAME = "HTML File (*.html)";
constexpr const char* REPORT_FILTER_PATTERN = "*.html";
constexpr const char* REPORT_EXTENSION = "html";
constexpr const char* REPORT_GENERATOR = "Korvex " KORVEX_VERSION;

} // namespace

int analysisReportCommand() {
    const FileDialogSpec spec = {FILE_DIALOG_SAVE,
                                 REPORT_FILTER_NAME,
                                 REPORT_FILTER_PATTERN,
                                 REPORT_EXTENSION,
                                 true,
                                 false,
                                 ""};
    char path[FILE_PATH_SIZE] = "";
    int dialogError = 0;
    if (!runFileDialog(spec, path, sizeof path, &dialogError))
        return dialogError;

    SurveyReportRequest request{};
    request.scope = analysisScopeRecords(analysisScope());
    request.summary = analysisRequest();
    request.languageBase = uint16_t(activeLanguageBase());
    request.generator = REPORT_GENERATOR;
    getLocalTime(&request.made);
    uiSetWaitCursor(true);
    const int result = writeSurveyReport(path, request);
    uiSetWaitCursor(false);
    if (result != 0)
        return result;
    // The report is written; a desktop without a browser leaves it for the
    // user to open.
    uiOpenDocument(path);
    return 0;
}
