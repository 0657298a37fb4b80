// The view every chart reads, apart from its reset, which acts on the
// window's controls: the printed page links without a window.
#include "view/chart_view.h"

ChartView chartView;
