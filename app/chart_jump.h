// Bringing one sample into both charts with the user's own operations: the
// scroll bar's thumb is moved to where the main chart holds the sample, then
// the cursor band is dragged onto it, so the zoom chart shows it. The
// charts end exactly where a user scrolling and dragging so would leave
// them; the span stays as chosen.
#pragma once
#include <cstdint>

void showSampleInCharts(uint32_t index);
