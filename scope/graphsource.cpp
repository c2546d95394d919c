// The graph-source ring and the power switch of the main panel.
#include "link/link.h"
#include "platform/ui/userint.h"
#include "scope/acquire.h"
#include "scope/chartlabels.h"
#include "scope/history.h"
#include "scope/plots.h"
#include "scope/scope.h"
#include "ui/RVIMZEL4V14.h"

int ChartOfGraphSource(int source) {
  return (source == 0 || source == 1) ? 0 : 1;
}

void PlotChart(int chart) {
  if (chart == 0) {
    PlotRAWValues();
  } else {
    PlotNORMValues(arrayNORM);
  }
}

void ShowChartOfGraphSource() {
  int source = 0;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  type = ChartOfGraphSource(source);
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, type == 0 ? 1 : 0);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, type == 0 ? 0 : 1);
  LabelChartsOfGraphSource();
}

// A running loop picks the new chart up at its next refresh.
int CC_RNGGraphSource(int, int, int event, void *, int, int) {
  if (event == EVENT_COMMIT) ShowChartOfGraphSource();
  return 0;
}

int CC_BINSWpower(int, int, int event, void *, int, int) {
  if (event != EVENT_VAL_CHANGED) return 0;
  unsigned short state = 0;
  GetCtrlVal(panelHandle, PANEL_BINSWPOWER, &state);
  SetCtrlAttribute(panelHandle, state == 1 ? PANEL_POWERB : PANEL_POWERA, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, state == 1 ? PANEL_POWERA : PANEL_POWERB, ATTR_VISIBLE, 1);
  return 0;
}
