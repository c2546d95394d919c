// Chart labels. The band chart draws both limits in one colour and the hold
// values in channel A's colour, so line styles tell those traces apart.
#include "scope/chartlabels.h"

#include <algorithm>
#include <cmath>

#include "link/link.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

const char kRawUnit[] = "RAW-values / [ADC-units]";
const char kNormUnit[] = "NORM=1000*(A/Amax)";
const char kTimeAxis[] = "Time / s (0 = now)";
const char kPointAxis[] = "Points (0 = newest)";

struct TraceLabel {
  const char *name;
  int lineStyle;
};

const TraceLabel kChannelTraces[2] = {{"Channel A", VAL_SOLID}, {"Channel B", VAL_SOLID}};
const TraceLabel kBandTracesA[6] = {{"Upper limit", VAL_SOLID}, {"Lower limit", VAL_DASH},
                                    {"Reference", VAL_SOLID},   {"Hold high", VAL_DASH},
                                    {"Hold low", VAL_DOT},      {"Channel A", VAL_SOLID}};
const TraceLabel kBandTracesB[6] = {{"Upper limit", VAL_SOLID}, {"Lower limit", VAL_DASH},
                                    {"Reference", VAL_SOLID},   {"Hold high", VAL_DASH},
                                    {"Hold low", VAL_DOT},      {"Channel B", VAL_SOLID}};

void LabelChart(int chart, const char *unit, const TraceLabel *traces, int count) {
  SetCtrlAttribute(panelHandle, chart, ATTR_YNAME, unit);
  for (int t = 0; t < count; ++t) {
    SetTraceAttribute(panelHandle, chart, t + 1, ATTR_TRACE_LG_TEXT, traces[t].name);
    SetTraceAttribute(panelHandle, chart, t + 1, ATTR_LINE_STYLE, traces[t].lineStyle);
  }
}

// The median of the last gaps between refreshes: a pause (a data readout, a
// new run) does not bend the axis.
constexpr int kGaps = 8;
constexpr int kGapsForARate = 3;

struct RefreshClock {
  bool started;
  double last;
  double gaps[kGaps];
  int stored;
  int next;
  double shownStep;  // seconds per point on the axis now; 0 while points are counted
};
RefreshClock refreshClock[2];  // PANEL_RAWCHART, PANEL_NORMCHART

RefreshClock &ClockOf(int chart) {
  return refreshClock[chart == PANEL_RAWCHART ? 0 : 1];
}

double SecondsPerPoint(const RefreshClock &clock) {
  if (clock.stored < kGapsForARate) return 0.0;
  double sorted[kGaps];
  std::copy(clock.gaps, clock.gaps + clock.stored, sorted);
  std::nth_element(sorted, sorted + clock.stored / 2, sorted + clock.stored);
  return sorted[clock.stored / 2];
}

// The axis follows a change of the rate, not the jitter of single refreshes:
// its numbers stand still, and the chart's frame need not be drawn anew.
constexpr double kStepTolerance = 0.02;

double StepToShow(RefreshClock &clock) {
  const double measured = SecondsPerPoint(clock);
  if (measured > 0.0 && std::abs(measured - clock.shownStep) > kStepTolerance * clock.shownStep) {
    clock.shownStep = measured;
  }
  return clock.shownStep;
}

void LabelTimeAxis(int chart) {
  const double seconds = StepToShow(ClockOf(chart));
  const bool timed = seconds > 0.0;
  SetStripChartXStep(panelHandle, chart, timed ? seconds : 1.0);
  SetCtrlAttribute(panelHandle, chart, ATTR_XNAME, timed ? kTimeAxis : kPointAxis);
}

}  // namespace

void LabelChartsOfGraphSource() {
  int source = 0;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  if (source == 0) LabelChart(PANEL_RAWCHART, kRawUnit, kChannelTraces, 2);
  if (source == 1) LabelChart(PANEL_RAWCHART, kNormUnit, kChannelTraces, 2);
  if (source == 2) LabelChart(PANEL_NORMCHART, kNormUnit, kBandTracesA, 6);
  if (source == 3) LabelChart(PANEL_NORMCHART, kNormUnit, kBandTracesB, 6);
  LabelTimeAxis(PANEL_RAWCHART);
  LabelTimeAxis(PANEL_NORMCHART);
}

void NoteChartRefresh(int chart) {
  RefreshClock &clock = ClockOf(chart);
  const double now = Timer();
  if (clock.started) {
    clock.gaps[clock.next] = now - clock.last;
    clock.next = (clock.next + 1) % kGaps;
    if (clock.stored < kGaps) ++clock.stored;
  }
  clock.started = true;
  clock.last = now;
  LabelTimeAxis(chart);
}
