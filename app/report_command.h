// Analysis > Report... and the Analysis window's Report button: the survey
// report (output/survey_report.h) of the Analysis window's scope and
// settings, into a "*.html" name asked for as Export asks, opened in the
// user's browser once it is whole.
#pragma once

// Needs samples (the routing checks them). Returns 0, also after a cancelled
// dialog, or the error number of the dialog or of the writer, which leaves
// the name as it was; the routing reports it as it reports Export's.
int analysisReportCommand();
