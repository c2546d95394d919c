// Raw and normalised strip charts: shift the history, take the answer, draw
// the whole history in one call, then show the live values.
#include "scope/plots.h"

#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "scope/chartlabels.h"
#include "scope/history.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kPointsPerScreen = 101;  // the 100 records of a history, plus one
constexpr int kRawTraces = 2;
constexpr int kNormTraces = 6;
constexpr int kValueTrace = 6;

int GraphSource() {
  int source = 0;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  return source;
}

void PrepareChart(int chart, int traces) {
  SetCtrlAttribute(panelHandle, chart, ATTR_POINTS_PER_SCREEN, kPointsPerScreen);
  SetCtrlAttribute(panelHandle, chart, ATTR_SCROLL_MODE_STRIP, 1);
  SetCtrlAttribute(panelHandle, chart, ATTR_NUM_TRACES, traces);
}

void ColorTraces(int chart, int first, int second) {
  SetTraceAttribute(panelHandle, chart, 1, ATTR_TRACE_COLOR, first);
  SetTraceAttribute(panelHandle, chart, 2, ATTR_TRACE_COLOR, second);
}

// The twelve indicators both refreshes write, tolerances apart.
void ShowLiveValues() {
  SetCtrlVal(panelHandle, PANEL_VALA, valNORMA);
  SetCtrlVal(panelHandle, PANEL_VALB, valNORMB);
  SetCtrlVal(panelHandle, PANEL_ADCA, adcCHA);
  SetCtrlVal(panelHandle, PANEL_ADCB, adcCHB);
  SetCtrlVal(panelHandle, PANEL_AMAX, Amax);
  SetCtrlVal(panelHandle, PANEL_BMAX, Bmax);
  SetCtrlVal(panelHandle, PANEL_MAXVALA, MAXvalA);
  SetCtrlVal(panelHandle, PANEL_MINVALA, MINvalA);
  SetCtrlVal(panelHandle, PANEL_MAXVALB, MAXvalB);
  SetCtrlVal(panelHandle, PANEL_MINVALB, MINvalB);
  SetCtrlVal(panelHandle, PANEL_IN0VAL, in0val);
  SetCtrlVal(panelHandle, PANEL_IN1VAL, in1val);
}

void ShowTolerances(uint16_t a, uint16_t b) {
  SetCtrlVal(panelHandle, PANEL_TOLA, a);
  SetCtrlVal(panelHandle, PANEL_TOLB, b);
}

// Trace 6 wears the colour of the channel it shows.
void ColorValueTrace(int source) {
  if (source == 2)
    SetTraceAttribute(panelHandle, PANEL_NORMCHART, kValueTrace, ATTR_TRACE_COLOR, VAL_RED);
  if (source == 3) {
    SetTraceAttribute(panelHandle, PANEL_NORMCHART, kValueTrace, ATTR_TRACE_COLOR, VAL_DK_GRAY);
  }
}

void ColorBandTraces() {
  ColorTraces(PANEL_NORMCHART, VAL_DK_GREEN, VAL_DK_GREEN);
  SetTraceAttribute(panelHandle, PANEL_NORMCHART, 3, ATTR_TRACE_COLOR, VAL_BLACK);
  SetTraceAttribute(panelHandle, PANEL_NORMCHART, 4, ATTR_TRACE_COLOR, VAL_RED);
  SetTraceAttribute(panelHandle, PANEL_NORMCHART, 5, ATTR_TRACE_COLOR, VAL_RED);
}

}  // namespace

void PlotRAWValues() {
  Shift(arrayRAW, kRawPoints, -kRawRecord, arrayRAW);
  UnpackLiveAnswer();
  PrepareChart(PANEL_RAWCHART, kRawTraces);
  const int source = GraphSource();
  if (source == 0) {
    SetNewestRAWRecord(adcCHA, adcCHB);
    ColorTraces(PANEL_RAWCHART, VAL_BLUE, VAL_GREEN);
  } else if (source == 1) {
    SetNewestRAWRecord(valNORMA, valNORMB);
    ColorTraces(PANEL_RAWCHART, VAL_RED, VAL_DK_GRAY);
  }
  PlotStripChart(panelHandle, PANEL_RAWCHART, arrayRAW, kRawPoints, 0, 0, VAL_DOUBLE);
  NoteChartRefresh(PANEL_RAWCHART);
  ShowLiveValues();
  ShowTolerances(tolA, tolB);
}

void ShowParameterTolerances() {
  ShowTolerances(tolA, tolB);
}

void PlotNORMValues(double *history) {
  Shift(history, kNormPoints, -kNormRecord, history);
  UnpackLiveAnswer();
  const int source = GraphSource();
  const int common = ComputeNormBand(source);
  ColorValueTrace(source);
  SetNewestNORMRecord(history);
  PrepareChart(PANEL_NORMCHART, kNormTraces);
  ColorBandTraces();
  PlotStripChart(panelHandle, PANEL_NORMCHART, history, kNormPoints, 0, 0, VAL_DOUBLE);
  NoteChartRefresh(PANEL_NORMCHART);
  ShowLiveValues();
  if (common) {
    ShowTolerances(tolval, tolval);
  } else {
    ShowTolerances(tolA, tolB);
  }
}
