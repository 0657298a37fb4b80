// The survey report's charts as inline SVG, each with its own axes, and a
// title on every bar, cell and point that a pointer resting on it shows (no
// script). They are drawn into the report being written (output/report_html.h).
#pragma once
#include <cstdint>

#include "data/load_duration.h"
#include "data/load_profile.h"
#include "data/load_summary.h"

// The whole scope over a date and time axis (ticks on whole minutes, hours
// or days as the span asks): each column's lowest and highest value, so that
// no peak is lost, the thresholds as lines, the excursions shaded, gaps left
// open and markers as ticks; with a rated power a kW axis too.
void drawRecordChart(const RecordScope& scope, const LoadSummary& summary,
                     const LoadSummaryRequest& request);
// One kind of day of the daily profile: the mean as a line in the band from
// the minimum to the maximum.
void drawProfileChart(const LoadProfile& profile, int kind);
// The days of the block table as rows of time-of-day cells, at most
// HEATMAP_DAYS_SHOWN of them, on a colour scale that reads in grey and for
// colour-blind readers; returns how many days there are in all.
constexpr uint32_t HEATMAP_DAYS_SHOWN = 62;
uint32_t drawHeatmap();
// The duration curves of samples and blocks, with the thresholds.
void drawDurationChart(const LoadDuration& duration, const LoadSummaryRequest& request);
