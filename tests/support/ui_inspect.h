// What the panels and charts of the user-interface run-time hold, as a test
// reads them: the widgets behind handles, the traces of strip charts and the
// plots, cursors and axes of graphs. The hooks that answer dialogs come with it.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ui/testing.h"

// The panel as the file draws it (the controls' parent), and the top-level
// window that shows it (the same widget, or a scrolling view around a
// resizable panel).
QWidget *PanelWidget(int panel);
QWidget *PanelWindow(int panel);
// Fits the panel's window onto a screen's available area with the given
// window-manager frame, as the run-time does once the window is framed.
void FitPanelWindowForTest(int panel, const QRect &area, const QMargins &frame);
QWidget *ControlWidget(int panel, int control);
// The tooltip a control shows now, its edit mark's line included.
std::string ToolTipShown(int panel, int control);

// Strip chart: the points on screen of a trace (from 1), oldest first, and
// its colour as 0xRRGGBB (-1 for a bad chart or trace).
std::vector<double> StripChartTrace(int panel, int control, int trace);
int StripChartTraceColor(int panel, int control, int trace);
// Line style of a trace (VAL_SOLID, VAL_DASH, VAL_DOT; -1 for a bad chart or
// trace), the spacing of its points on the x axis (0 for a bad chart), and
// the y range drawn now (the operator's autoscale included).
int StripChartTraceStyle(int panel, int control, int trace);
double StripChartXStep(int panel, int control);
bool StripChartYRange(int panel, int control, double *min, double *max);

// XY graph content.
struct GraphPlotInfo {
  std::vector<double> x;
  std::vector<double> y;
  int plotStyle = 0;  // VAL_THIN_LINE / VAL_THICK_LINE
  int lineStyle = 0;  // VAL_SOLID / VAL_DASH
  int color = 0;      // 0xRRGGBB
  std::string name;   // legend text
};
std::vector<GraphPlotInfo> GraphPlots(int panel, int control);
// Cursor (from 1) position; false when the cursor does not exist or was not placed.
bool GraphCursorPosition(int panel, int control, int cursor, double *x, double *y);
// axis VAL_XAXIS or VAL_LEFT_YAXIS; false for a bad graph.
bool GraphAxisRange(int panel, int control, int axis, double *min, double *max);
// Y-axis and x-axis name of a graph or strip chart.
std::string ChartYName(int panel, int control);
std::string ChartXName(int panel, int control);
// The names the legend of a graph or strip chart shows, in order.
std::vector<std::string> ChartLegend(int panel, int control);
