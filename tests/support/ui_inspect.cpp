// What the panels and charts hold, read from the run-time's own records.
#include "tests/support/ui_inspect.h"

#include "platform/ui/color.h"
#include "platform/ui/editmark.h"
#include "platform/ui/panelview.h"
#include "platform/ui/registry.h"
#include "platform/ui/stripchart.h"
#include "platform/ui/xygraph.h"

QWidget *PanelWidget(int panel) {
  PanelRecord *record = FindPanel(panel);
  return record != nullptr ? record->window.data() : nullptr;
}

QWidget *PanelWindow(int panel) {
  return PanelTopLevel(panel);
}

void FitPanelWindowForTest(int panel, const QRect &area, const QMargins &frame) {
  if (QWidget *window = PanelTopLevel(panel)) FitWindowOnto(window, area, frame);
}

QWidget *ControlWidget(int panel, int control) {
  int error = 0;
  return FindControl(panel, control, &error);
}

std::string ToolTipShown(int panel, int control) {
  const QWidget *widget = ControlWidget(panel, control);
  return widget != nullptr ? ToolTipWithEditMark(widget).toStdString() : std::string();
}

std::vector<double> StripChartTrace(int panel, int control, int trace) {
  int error = 0;
  const StripChart *chart = FindStripChart(panel, control, &error);
  std::vector<double> points;
  if (chart == nullptr || trace < 1 || trace > chart->numTraces()) return points;
  for (int i = 0; i < chart->pointsShown(); ++i) points.push_back(chart->shownPoint(trace, i));
  return points;
}

int StripChartTraceColor(int panel, int control, int trace) {
  int error = 0;
  const StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr || trace < 1 || trace > kMaxTraces) return -1;
  return ValueFromColor(chart->traceColor(trace));
}

int StripChartTraceStyle(int panel, int control, int trace) {
  int error = 0;
  const StripChart *chart = FindStripChart(panel, control, &error);
  return chart != nullptr ? chart->lineStyle(trace) : -1;
}

double StripChartXStep(int panel, int control) {
  int error = 0;
  const StripChart *chart = FindStripChart(panel, control, &error);
  return chart != nullptr ? chart->xStep() : 0.0;
}

bool StripChartYRange(int panel, int control, double *min, double *max) {
  int error = 0;
  const StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr) return false;
  const AxisRange range = chart->shownYRange();
  *min = range.min;
  *max = range.max;
  return true;
}

std::vector<GraphPlotInfo> GraphPlots(int panel, int control) {
  int error = 0;
  const XYGraph *graph = FindXYGraph(panel, control, &error);
  std::vector<GraphPlotInfo> plots;
  if (graph == nullptr) return plots;
  for (const XYPlot &p : graph->plots()) {
    plots.push_back(
        GraphPlotInfo{p.x, p.y, p.plotStyle, p.lineStyle, p.color, p.name.toStdString()});
  }
  return plots;
}

bool GraphCursorPosition(int panel, int control, int cursor, double *x, double *y) {
  int error = 0;
  const XYGraph *graph = FindXYGraph(panel, control, &error);
  const GraphCursor *c = graph != nullptr ? graph->cursor(cursor) : nullptr;
  if (c == nullptr || !c->placed) return false;
  *x = c->x;
  *y = c->y;
  return true;
}

bool GraphAxisRange(int panel, int control, int axis, double *min, double *max) {
  int error = 0;
  const XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return false;
  const AxisRange range = graph->axisRange(axis);
  *min = range.min;
  *max = range.max;
  return true;
}

std::string ChartYName(int panel, int control) {
  int error = 0;
  if (const XYGraph *graph = FindXYGraph(panel, control, &error)) {
    return graph->yName().toStdString();
  }
  if (const StripChart *chart = FindStripChart(panel, control, &error)) {
    return chart->yName().toStdString();
  }
  return {};
}

std::string ChartXName(int panel, int control) {
  int error = 0;
  if (const XYGraph *graph = FindXYGraph(panel, control, &error)) {
    return graph->xName().toStdString();
  }
  if (const StripChart *chart = FindStripChart(panel, control, &error)) {
    return chart->xName().toStdString();
  }
  return {};
}

std::vector<std::string> ChartLegend(int panel, int control) {
  int error = 0;
  std::vector<std::string> names;
  if (const XYGraph *graph = FindXYGraph(panel, control, &error)) {
    for (const XYPlot &p : graph->plots()) {
      if (!p.name.isEmpty()) names.push_back(p.name.toStdString());
    }
  } else if (const StripChart *chart = FindStripChart(panel, control, &error)) {
    for (int t = 1; t <= chart->numTraces(); ++t) {
      if (!chart->traceName(t).isEmpty()) names.push_back(chart->traceName(t).toStdString());
    }
  }
  return names;
}
