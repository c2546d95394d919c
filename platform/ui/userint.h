// User-interface operations of the run-time: panels from the resource file,
// controls, events, strip charts, XY graphs and the file popup.
// Procedural surface; the implementation lives on Qt 6 widgets.
#pragma once

#include <cstddef>

#include "platform/util/types.h"

// ---- Events delivered to callbacks -------------------------------------
enum {
  EVENT_COMMIT = 1,       // button clicked, ring/numeric committed
  EVENT_VAL_CHANGED = 2,  // radio, toggle, switch, ring, numeric changed by the operator
  EVENT_LEFT_CLICK = 3,   // a real left mouse press on the control
  EVENT_CLOSE = 4         // panel close box (panel callbacks only)
};

// Control callback: (panel, control, event, callback data, event data 1, event data 2).
using CtrlCallbackPtr = int (*)(int panel, int control, int event, void *callbackData,
                                int eventData1, int eventData2);
// Panel callback: (panel, event, callback data, event data 1, event data 2).
using PanelCallbackPtr = int (*)(int panel, int event, void *callbackData, int eventData1,
                                 int eventData2);

// The program binds callbacks by the names the resource file gives.
// Exactly one of ctrl / panel is set in an entry.
struct CallbackEntry {
  const char *name;
  CtrlCallbackPtr ctrl;
  PanelCallbackPtr panel;
};
// Install the table that LoadPanel resolves callback names against.
// The table must outlive every loaded panel. A name the file gives that is not
// in the table makes LoadPanel fail.
void RegisterCallbacks(const CallbackEntry *table, int count);

// ---- Error results ------------------------------------------------------
enum {
  UIE_NO_ERROR = 0,
  UIE_FILE_NOT_FOUND = -1,   // resource file missing or unreadable
  UIE_BAD_FILE = -2,         // resource file malformed
  UIE_BAD_PANEL_ID = -3,     // no panel with that resource number
  UIE_BAD_CALLBACK = -4,     // file names a callback that is not registered
  UIE_BAD_HANDLE = -10,      // unknown panel handle
  UIE_BAD_CONTROL = -11,     // unknown control id on that panel
  UIE_BAD_ATTRIBUTE = -12,   // attribute not supported by that control
  UIE_BAD_VALUE_TYPE = -13,  // value type does not suit the control
  UIE_NO_APPLICATION = -20   // InitCVIRTE was not called
};

// ---- Run-time start and panels ------------------------------------------
// Starts the run-time (creates the application object). Returns 1, or 0 on failure.
int InitCVIRTE(void *hInstance, char **argv, void *reserved);
// The program on the desktop: its name (the window class a launcher's
// StartupWMClass names), its desktop entry without ".desktop" (windows group
// with their launcher) and its window icon, from the icon theme by the entry's
// name, else the built-in picture at builtInIcon.
void SetDesktopIdentity(const char *programName, const char *desktopEntry, const char *builtInIcon);
// Loads panel `panelResourceId` from the resource file. Returns a handle > 0
// or a negative UIE_ error. parentPanel 0 = top level.
int LoadPanel(int parentPanel, const char *fileName, int panelResourceId);
int DisplayPanel(int panel);
int HidePanel(int panel);
int DiscardPanel(int panel);
// A close of this panel (close box, window manager) ends the waits
// (EndWaitsNow, utility.h) the moment the run-time sees it, also during a wait
// that processes no events; its callback still gets the close, from event
// processing. Returns 0 or a negative UIE_ error.
int EndWaitsOnPanelClose(int panel);

// ---- Event loop ----------------------------------------------------------
// Dispatches events until QuitUserInterface; returns the code given there.
int RunUserInterface(void);
int QuitUserInterface(int code);
// Dispatches everything pending (control callbacks, serial callbacks) and
// returns. When nothing is pending it blocks for at most ~10 ms, so a loop
// built on it does not burn a core.
int ProcessSystemEvents(void);

// ---- Control values -----------------------------------------------------
// Numeric controls, rings, radio buttons, toggles, binary switches: the value.
// Rings and drop-downs: the selected item's value (not its index).
// Text messages, strings, text boxes: the text (overloads taking char buffers).
int GetCtrlVal(int panel, int control, unsigned short *value);
int GetCtrlVal(int panel, int control, int *value);
int GetCtrlVal(int panel, int control, unsigned int *value);
int GetCtrlVal(int panel, int control, double *value);
int GetCtrlValText(int panel, int control, char *buffer, std::size_t size);
template <std::size_t N>
int GetCtrlVal(int panel, int control, char (&buffer)[N]) {
  return GetCtrlValText(panel, control, buffer, N);
}
// Setting a value from the program raises no event. Numeric values outside
// a control's range are clamped by the control, as an operator entry would be.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, unsigned int value);
int SetCtrlVal(int panel, int control, double value);
int SetCtrlVal(int panel, int control, const char *text);  // shown as plain text
inline int SetCtrlVal(int panel, int control, unsigned short value) {
  return SetCtrlVal(panel, control, static_cast<int>(value));
}
inline int SetCtrlVal(int panel, int control, char *text) {
  return SetCtrlVal(panel, control, static_cast<const char *>(text));
}

// Text boxes: line 0.. of a multi-line text control.
int ReplaceTextBoxLine(int panel, int control, int line, const char *text);
int ResetTextBox(int panel, int control, const char *text);

// ---- Keys --------------------------------------------------------------------

// Keys the operator presses in any window of the program, e.g. "Esc" or
// "Ctrl+Q"; a dialog and an open list or menu keep their own keys. They go
// with the panel that holds them. Both return 0 or a negative UIE_ error.
using KeyActionPtr = void (*)();
// The key runs `action` as a control callback runs.
int SetProgramKey(int panel, const char *key, KeyActionPtr action);
// The key closes `panel` as its close box does: the close event goes to the
// panel callback.
int SetProgramCloseKey(int panel, const char *key);

// ---- Attributes ---------------------------------------------------------
enum {
  ATTR_DIMMED = 500,              // int 0/1
  ATTR_VISIBLE = 530,             // int 0/1
  ATTR_TOP = 540,                 // int, pixels
  ATTR_LEFT = 541,                // int, pixels
  ATTR_WIDTH = 542,               // int, pixels
  ATTR_HEIGHT = 543,              // int, pixels
  ATTR_TEXT_COLOR = 680,          // int 0xRRGGBB
  ATTR_TEXT_BGCOLOR = 690,        // int 0xRRGGBB
  ATTR_TEXT_FONT = 650,           // string; "NIApp" = the application font
  ATTR_TEXT_BOLD = 660,           // int 0/1
  ATTR_TEXT_POINT_SIZE = 670,     // int, points
  ATTR_FRAME_COLOR = 720,         // int 0xRRGGBB, colour of a decoration (banner)
  ATTR_MIN_VALUE = 300,           // numeric control or ring, int: smallest value (get only)
  ATTR_MAX_VALUE = 301,           // numeric control or ring, int: largest value (get only)
  ATTR_TOOLTIP_TEXT = 1400,       // string: the control's help, its tooltip and the
                                  // description a screen reader gives
  ATTR_NUM_TRACES = 1080,         // strip chart, int 1..kMaxTraces
  ATTR_POINTS_PER_SCREEN = 1081,  // strip chart, int
  ATTR_SCROLL_MODE_STRIP = 1088,  // strip chart; accepted and ignored
  ATTR_XNAME = 1092,              // graph / strip chart, string
  ATTR_YNAME = 1093,              // graph / strip chart, string
  ATTR_NUM_CURSORS = 1140,        // graph, int
  ATTR_TRACE_COLOR = 1300,        // SetTraceAttribute, int 0xRRGGBB
  ATTR_LINE_STYLE = 1301,         // SetTraceAttribute, int VAL_SOLID / VAL_DASH / VAL_DOT
  ATTR_TRACE_LG_TEXT = 1302,      // SetTraceAttribute, string: the trace's name in the legend
  ATTR_PLOT_LG_TEXT = 1303,       // SetPlotAttribute, string: the plot's name in the legend
  ATTR_CURSOR_MODE = 1202,        // SetCursorAttribute; stored, drawn as a cross-hair
  // Numeric inputs and rings: the value to compare with (-1: no mark). While
  // the control's value differs from it, the control is tinted and the line
  // of ATTR_MARK_TEXT follows its own tooltip. ATTR_MARKED (get only) is 1
  // while the mark shows.
  ATTR_MARK_REFERENCE = 1400,  // int
  ATTR_MARK_TEXT = 1401,       // string, e.g. "controller holds 2048"
  ATTR_MARKED = 1402           // int 0/1
};
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, const char *value);
int GetCtrlAttribute(int panel, int control, int attribute, int *value);

// Colours, 0xRRGGBB.
enum {
  VAL_BLACK = 0x000000,
  VAL_WHITE = 0xFFFFFF,
  VAL_RED = 0xFF0000,
  VAL_GREEN = 0x00FF00,
  VAL_BLUE = 0x0000FF,
  VAL_DK_GREEN = 0x008000,
  VAL_DK_GRAY = 0x404040,
  VAL_GRAY = 0x808080,
  VAL_LT_GRAY = 0xE0E0E0
};

// ---- Creating controls and pictures ------------------------------------
enum { CTRL_TEXT_MSG = 1 };
// Creates a control on the panel at (top, left). Returns its id (> 0) or a
// negative UIE_ error. label may be "" for none.
int NewCtrl(int panel, int style, const char *label, int top, int left);
// Loads an image file into a picture control. A file that cannot be loaded
// leaves the picture as it was and returns a negative result.
int DisplayImageFile(int panel, int control, const char *fileName);

// ---- Strip chart ------------------------------------------------------------
enum { kMaxTraces = 8, kMaxPointsPerScreen = 4096 };
// Appends numberOfPoints values, interleaved by trace (t0, t1, .., t0, t1, ..),
// to the chart's traces and scrolls; dataType VAL_DOUBLE.
int PlotStripChart(int panel, int control, const void *array, int numberOfPoints, int startingIndex,
                   int skipCount, int dataType);
int SetTraceAttribute(int panel, int control, int trace, int attribute, int value);
int SetTraceAttribute(int panel, int control, int trace, int attribute, const char *value);
// The x axis of a strip chart: the newest point lies at 0 and each older one
// `step` further left (seconds per point, or 1 to count points). The axis
// name is ATTR_XNAME.
int SetStripChartXStep(int panel, int control, double step);

// ---- XY graph ------------------------------------------------------------
enum { VAL_THIN_LINE = 0, VAL_THICK_LINE = 5 };     // plot styles
enum { VAL_NO_POINT = 10 };                         // point style
enum { VAL_SOLID = 0, VAL_DASH = 1, VAL_DOT = 2 };  // line styles
enum { VAL_XAXIS = 0, VAL_LEFT_YAXIS = 1 };         // axes
enum { VAL_MANUAL = 0, VAL_AUTOSCALE = 1 };         // scaling modes
enum { VAL_DELAYED_DRAW = 0, VAL_IMMEDIATE_DRAW = 1 };
// Plots numberOfPoints (x[i], y[i]); xType/yType VAL_UNSIGNED_SHORT_INTEGER or
// VAL_DOUBLE. Returns a plot handle > 0, or a negative UIE_ error.
int PlotXY(int panel, int control, const void *xArray, const void *yArray, int numberOfPoints,
           int xDataType, int yDataType, int plotStyle, int pointStyle, int lineStyle,
           int pointFrequency, int color);
// plotHandle -1 deletes every plot.
int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh);
int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max);
int SetGraphCursor(int panel, int control, int cursorNumber, double x, double y);
int SetCursorAttribute(int panel, int control, int cursorNumber, int attribute, int value);
// ATTR_PLOT_LG_TEXT of a plot (handle from PlotXY).
int SetPlotAttribute(int panel, int control, int plotHandle, int attribute, const char *value);

// Both chart kinds offer the operator, in their context menu, "Save image..."
// (PNG) and "Save data..." (CSV with a header row), and where the resource
// file gives the chart autoscaleChoice = true, a checkable "Autoscale" of the
// y axis over the ranges the program sets. The saves are offered only while
// no callback runs (no run, recording or transaction under way). What a
// save did goes to the routine set here (nullptr: nowhere).
using ChartReportFn = void (*)(const char *text);
void SetChartSaveReport(ChartReportFn report);

// ---- File popup ------------------------------------------------------------
enum { VAL_OK_BUTTON = 1, VAL_SAVE_BUTTON = 2, VAL_SELECT_BUTTON = 3, VAL_LOAD_BUTTON = 4 };
enum { VAL_NO_FILE_SELECTED = 0, VAL_EXISTING_FILE_SELECTED = 1, VAL_NEW_FILE_SELECTED = 2 };
// Asks the operator for a file. Returns 0 (cancelled), 1 (existing file) or
// 2 (new name); the path goes into pathName (kMaxPathname bytes). A path that
// does not fit is refused with 0 and pathName is left untouched. With the OK
// or Save button an existing file is only returned after the operator has
// confirmed overwriting it. restrictExtension limits the choice to the
// extension of fileTypeList (e.g. "*.cfg").
int FileSelectPopup(const char *defaultDirectory, const char *defaultFileSpec,
                    const char *fileTypeList, const char *title, int buttonLabel,
                    int restrictDirectory, int restrictExtension, int allowCancel,
                    int allowMakeDirectory, char pathName[]);

// ---- List items of rings and drop-downs ------------------------------------
// index -1 appends. Values need not be unique, but GetCtrlVal/SetCtrlVal use the
// first item with a value.
int ClearListCtrl(int panel, int control);
int InsertListItem(int panel, int control, int index, const char *label, int value);

// ---- Prompt popup ------------------------------------------------------------
// Asks the operator for a line of text. Returns the length of the answer (>= 0),
// or -1 when cancelled. The answer is cut to maxResponseLength - 1 characters.
int PromptPopup(const char *title, const char *message, char responseBuffer[],
                int maxResponseLength);
// Shows a message until the operator closes it. Returns 0, or a negative UIE_
// error before InitCVIRTE. Without a screen (the offscreen platform) nobody
// could close it, so it returns at once.
int MessagePopup(const char *title, const char *message);
