// The curve plot of a data set: raw curves, or normalised curves with the
// tolerance band, the dashed reference and the cursor on the index point.
#include "datamem/datamem.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "scope/history.h"
#include "ui/RVIMZEL4V14.h"

uint16_t upArray[256];
uint16_t loArray[256];
uint16_t refArray[256];

namespace {

constexpr int kCursor = 1;
constexpr int kCursorMode = 4;
constexpr int kPointFrequency = 1;
constexpr int kRawColorA = VAL_GREEN;
constexpr int kRawColorB = VAL_BLUE;
constexpr int kNormColorA = VAL_RED;
constexpr int kNormColorB = VAL_DK_GRAY;
constexpr int kBandColor = VAL_BLACK;
const char kNameA[] = "Channel A";
const char kNameB[] = "Channel B";

// Each plot carries its name for the legend.
void Plot(const uint16_t *y, int plotStyle, int lineStyle, int color, const char *name) {
  const int plot = PlotXY(panelHandle, PANEL_DATAGRAPH, xArray, y, kDataPoints,
                          VAL_UNSIGNED_SHORT_INTEGER, VAL_UNSIGNED_SHORT_INTEGER, plotStyle,
                          VAL_NO_POINT, lineStyle, kPointFrequency, color);
  SetPlotAttribute(panelHandle, PANEL_DATAGRAPH, plot, ATTR_PLOT_LG_TEXT, name);
}

void PlotCurve(const uint16_t *y, int color, const char *name) {
  Plot(y, VAL_THICK_LINE, VAL_SOLID, color, name);
}

// The cursor sits on the drawn point whose x is the index; index 128 lies
// one past the drawn points, on an element that holds 0.
void CursorOn(const uint16_t *y, uint16_t index) {
  SetGraphCursor(panelHandle, PANEL_DATAGRAPH, kCursor, index, y[index]);
}

uint16_t ClampIndex(uint16_t index) {
  if (index == 0) return 1;
  if (index > kDataPoints) return kDataPoints;
  return index;
}

void ScaleYAxis() {
  SetAxisScalingMode(panelHandle, PANEL_DATAGRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 0.0, 1000.0);
}

void PlotRawCurves(const uint16_t *yA, const uint16_t *yB) {
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_YNAME, "RAW-values / [ADC-units]");
  ScaleYAxis();
  PlotCurve(yA, kRawColorA, kNameA);
  PlotCurve(yB, kRawColorB, kNameB);
}

void PlotNormCurves(int source, const uint16_t *yA, const uint16_t *yB, const uint16_t *up,
                    const uint16_t *lo, const uint16_t *ref) {
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_YNAME, "NORM=1000*(A/Amax)");
  SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_NUM_CURSORS, 1);
  SetCursorAttribute(panelHandle, PANEL_DATAGRAPH, kCursor, ATTR_CURSOR_MODE, kCursorMode);
  ScaleYAxis();
  Plot(up, VAL_THIN_LINE, VAL_SOLID, kBandColor, "Upper limit");
  Plot(lo, VAL_THIN_LINE, VAL_SOLID, kBandColor, "Lower limit");
  if (source == 1 || source == 2) PlotCurve(yA, kNormColorA, kNameA);
  if (source == 1 || source == 3) PlotCurve(yB, kNormColorB, kNameB);
  if (source == 2) CursorOn(yA, indexA);
  if (source == 3) CursorOn(yB, indexB);
  Plot(ref, VAL_THIN_LINE, VAL_DASH, kBandColor, "Reference");
  if (source == 1) CursorOn(yA, indexA);
}

}  // namespace

void PlotDATACurve(const uint16_t *yA, const uint16_t *yB, const uint16_t *up, const uint16_t *lo,
                   const uint16_t *ref) {
  indexA = ClampIndex(indexA);
  indexB = ClampIndex(indexB);
  SetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, 0);
  SetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, 0);
  SetAxisScalingMode(panelHandle, PANEL_DATAGRAPH, VAL_XAXIS, VAL_MANUAL, 1.0, 128.0);
  DeleteGraphPlot(panelHandle, PANEL_DATAGRAPH, -1, VAL_IMMEDIATE_DRAW);
  SetCtrlVal(panelHandle, PANEL_VALA, MINvalA);
  SetCtrlVal(panelHandle, PANEL_VALB, MINvalB);

  int source = -1;
  GetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, &source);
  if (source == 0) {
    PlotRawCurves(yA, yB);
  } else if (source >= 1 && source <= 3) {
    PlotNormCurves(source, yA, yB, up, lo, ref);
  }
}
