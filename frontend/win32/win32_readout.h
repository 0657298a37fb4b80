// The readout under the mouse on Win32: once the mouse rests on a plot area
// for the system's hover time, a tooltip beside the pointer names the sample
// of its column (view/chart_readout.h) and then follows the mouse from
// column to column, as the Qt front end's does. Include it after the
// program's own headers, as win32_window.h.
#pragma once
#include <windows.h>

// Creates the tooltip, owned by the main window (WM_CREATE).
void readoutCreate(HWND window);
// WM_MOUSEMOVE at client (x, y): the tip shown follows the mouse, or goes off
// a plot area; otherwise the rest is watched for.
void readoutMouseMove(HWND window, int x, int y);
// WM_MOUSEHOVER at client (x, y): the tip comes up on a plot area.
void readoutMouseHover(HWND window, int x, int y);
// WM_MOUSELEAVE: the tip goes.
void readoutMouseLeave();
