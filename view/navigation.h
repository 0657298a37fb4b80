// Moving the two charts through the sample store: the span selector chooses
// how many samples the main chart shows, the scroll bar moves the main chart's
// window, and dragging the cursor band moves the zoom chart's window inside
// it. Each handler changes only ChartView and the two controls, and ends with
// a repaint request.
#pragma once
#include <cstdint>

// The span selector's notifications: CBN_DROPDOWN remembers the position a
// refused choice returns to, CBN_SELENDOK applies the chosen span; any other
// code is ignored.
void onSpanNotify(int notifyCode);
struct ScrollInfo;
// The main chart's first sample for scroll position pos of the bar info
// describes (nMax > 0), as a scroll there sets it.
uint32_t mainStartAtScrollPosition(const ScrollInfo& info, int32_t pos);
// WM_HSCROLL from the scroll bar with its scroll code (SB_LINELEFT, ...).
void onChartScroll(int scrollCode);
// The left mouse button and the mouse in client coordinates, each taken as an
// unsigned 16-bit number as WM_LBUTTONDOWN and WM_MOUSEMOVE carry it.
void onCursorButtonDown(uint16_t x, uint16_t y);
void onCursorMove(uint16_t x);
void onCursorButtonUp();
