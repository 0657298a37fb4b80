// Where things lie in the main window's client area, in the logical units
// the charts are drawn in on screen and on paper, and the window's colour.
#pragma once

#include "ui/canvas.h"

// The main window's client area and colour
constexpr int CLIENT_WIDTH = 800;
constexpr int CLIENT_HEIGHT = 577; // 600 less one dialog frame and the menu bar
constexpr uint32_t WINDOW_COLOUR = rgb(195, 180, 160);

// Both charts are 600 columns wide from x = 150; 2 pixels per percent.
constexpr int CHART_LEFT = 150;
constexpr int CHART_COLUMNS = 600;
constexpr int MAIN_BASELINE = 530;
constexpr int ZOOM_BASELINE = 250;
// The zoom chart shows the main chart's samples this much finer.
constexpr int ZOOM_FACTOR = 10;
constexpr int CURSOR_BAND_COLUMNS = CHART_COLUMNS / ZOOM_FACTOR;
