// Test access to the user-interface run-time: the widgets behind handles,
// answers for the file popup, the overwrite question and the prompt, and
// what the charts hold. For tests only.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

// What the program asked the file popup for.
struct FilePopupRequest {
  std::string dir;          // default directory
  std::string defaultFile;  // default file name
  std::string filter;       // file type list, e.g. "*.cfg"
  std::string title;
  std::string buttonLabel;  // "OK", "Save", "Select" or "Load"
};

// The operator's answer: return false to cancel, or true with the chosen path.
using FilePopupAnswer = std::function<bool(const FilePopupRequest &, std::string *chosenPath)>;
// Answers every FileSelectPopup instead of the dialog; an empty function
// restores the dialog.
void SetFilePopupAnswer(FilePopupAnswer answer);
// Answers the "replace existing file?" question (true = replace).
void SetOverwriteConfirmAnswer(std::function<bool(const std::string &path)> answer);

// Answers every PromptPopup instead of the dialog: return false to cancel,
// or true with the answer. An empty function restores the dialog.
using PromptAnswer =
    std::function<bool(const std::string &title, const std::string &message, std::string *answer)>;
void SetPromptAnswer(PromptAnswer answer);

// Sees every text the program sets with SetCtrlVal, before the control shows
// it, even one replaced before any event could paint it; an empty function
// stops. Tests watch the status line through it.
using TextObserver = std::function<void(int panel, int control, const char *text)>;
void SetTextObserver(TextObserver observer);

// The tooltip a control shows now, its edit mark's line included.
std::string ToolTipShown(int panel, int control);

QWidget *PanelWidget(int panel);
QWidget *ControlWidget(int panel, int control);

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
