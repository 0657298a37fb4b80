// Analysis > Summary: the Analysis window's state. It shows the load summary
// of the records a scope covers (the zoom chart, the main chart or all, as
// Export chooses them), lists the peak, the highest demand block and the
// excursions, moves the charts to the one chosen, and copies the text
// summary. It follows the charts: whatever moves them ends in uiInvalidate,
// whose front ends call analysisFollowCharts.
#pragma once
#include <cstdint>

#include "data/load_summary.h"

enum AnalysisScope { ANALYSIS_ZOOM, ANALYSIS_MAIN, ANALYSIS_ALL };

// The records a scope covers: the charts' from their first sample to the
// last one their 600 columns reach (every record in between, not only the
// ones drawn), at most the last stored record; a chart with fewer samples
// than columns (samplesPerPixel 0, or below 10 for the zoom chart) from its
// first sample to the last stored one, as its export takes them. All: every
// stored record. Count 0 without records.
RecordScope analysisScopeRecords(int scope);

// The scope and settings the window and the report use.
int analysisScope();
const LoadSummaryRequest& analysisRequest();

// Analysis > Summary (needs samples): shows the window.
void analysisSummaryCommand();
// After a paint request: brings an open window up to the charts, the data
// and the language, working out again only what changed.
void analysisFollowCharts();

// The user's actions in the window.
void analysisScopeChosen(int scope);
void analysisDemandChosen(int choice);
// An edit's text as typed; one that cannot be read keeps the setting before.
void analysisThresholdsEdited(const char* text);
void analysisRatedEdited(const char* text);
// Double click or Enter on a row: the charts come to its sample.
void analysisRowChosen(int row);
void analysisCopy();
// Closed by the user, or gone with the main window.
void analysisWindowClosed();
