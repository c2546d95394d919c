// What the readout draws: raw curves, or the normalised curves with the band
// of the right channel, the dashed reference and the cursor on the index.
#include "datamem/datamem.h"
#include "link/link.h"
#include "params/panels.h"
#include "platform/ui/userint.h"
#include "scope/history.h"
#include "tests/datamem/readout_fixture.h"
#include "ui/RVIMZEL4V14.h"

namespace {

struct Look {
  int plotStyle;
  int lineStyle;
  int color;
};

void ExpectLook(const GraphPlotInfo &plot, const Look &look) {
  EXPECT_EQ(plot.plotStyle, look.plotStyle);
  EXPECT_EQ(plot.lineStyle, look.lineStyle);
  EXPECT_EQ(plot.color, look.color);
}

constexpr Look kBand = {VAL_THIN_LINE, VAL_SOLID, VAL_BLACK};
constexpr Look kReference = {VAL_THIN_LINE, VAL_DASH, VAL_BLACK};
constexpr Look kNormA = {VAL_THICK_LINE, VAL_SOLID, VAL_RED};
constexpr Look kNormB = {VAL_THICK_LINE, VAL_SOLID, VAL_DK_GRAY};

void ExpectAxes() {
  double min = -1, max = -1;
  ASSERT_TRUE(GraphAxisRange(panelHandle, PANEL_DATAGRAPH, VAL_XAXIS, &min, &max));
  EXPECT_EQ(min, 1.0);
  EXPECT_EQ(max, 128.0);
  ASSERT_TRUE(GraphAxisRange(panelHandle, PANEL_DATAGRAPH, VAL_LEFT_YAXIS, &min, &max));
  EXPECT_EQ(min, 0.0);
  EXPECT_EQ(max, 1000.0);
}

void ExpectCursor(double x, double y) {
  double cx = -1, cy = -1;
  ASSERT_TRUE(GraphCursorPosition(panelHandle, PANEL_DATAGRAPH, 1, &cx, &cy));
  EXPECT_EQ(cx, x);
  EXPECT_EQ(cy, y);
}

int NumCursors() {
  int count = -1;
  GetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_NUM_CURSORS, &count);
  return count;
}

TEST_F(DataReadout, RawCurvesAreThickGreenAndBlueWithoutBandOrCursor) {
  SetGraphSource(0);
  const int cursorsBefore = NumCursors();
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 2u);
  const auto raw = Memory(0);
  ExpectLook(plots[0], {VAL_THICK_LINE, VAL_SOLID, VAL_GREEN});
  ExpectLook(plots[1], {VAL_THICK_LINE, VAL_SOLID, VAL_BLUE});
  EXPECT_EQ(plots[0].y, Values(raw.data(), 128));
  EXPECT_EQ(plots[1].y, Values(raw.data() + 128, 128));
  EXPECT_EQ(plots[0].x, Values(xArray, 128));
  EXPECT_EQ(plots[0].x.back(), 127.0);
  EXPECT_EQ(ChartYName(panelHandle, PANEL_DATAGRAPH), "RAW-values / [ADC-units]");
  ExpectAxes();
  double x = 0, y = 0;
  EXPECT_FALSE(GraphCursorPosition(panelHandle, PANEL_DATAGRAPH, 1, &x, &y));
  EXPECT_EQ(NumCursors(), cursorsBefore);
}

TEST_F(DataReadout, SourceOneWithEvalModeSevenTakesTheBandOfChannelB) {
  SetGraphSource(1);
  SetLiveIndex(10, 20);
  evalmode = 7;
  refA = 300;
  tolA = 100;
  refB = 600;
  tolB = 50;
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 5u);
  ExpectLook(plots[0], kBand);
  ExpectLook(plots[1], kBand);
  ExpectLook(plots[2], kNormA);
  ExpectLook(plots[3], kNormB);
  ExpectLook(plots[4], kReference);
  EXPECT_EQ(plots[0].y, Constant(650));
  EXPECT_EQ(plots[1].y, Constant(550));
  EXPECT_EQ(plots[4].y, Constant(600));
  const auto norm = Memory(1);
  EXPECT_EQ(plots[2].y, Values(norm.data(), 128));
  EXPECT_EQ(plots[3].y, Values(norm.data() + 128, 128));
  EXPECT_EQ(ChartYName(panelHandle, PANEL_DATAGRAPH), "NORM=1000*(A/Amax)");
  ExpectAxes();
  EXPECT_EQ(NumCursors(), 1);
  ExpectCursor(10, norm[10]);  // on curve A at indexA
  EXPECT_EQ(upTHR, 650);
  EXPECT_EQ(loTHR, 550);
  EXPECT_EQ(valREF, 600);
}

TEST_F(DataReadout, SourceOneWithEvalModeSixTakesTheBandOfChannelA) {
  SetGraphSource(1);
  evalmode = 6;
  refA = 300;
  tolA = 100;
  refB = 600;
  tolB = 50;
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 5u);
  EXPECT_EQ(plots[0].y, Constant(400));
  EXPECT_EQ(plots[1].y, Constant(200));
  EXPECT_EQ(plots[4].y, Constant(300));
}

TEST_F(DataReadout, SourceOneWithOtherEvalModeKeepsTheLastBandClamped) {
  SetGraphSource(1);
  evalmode = 1;
  upTHR = 1200;
  loTHR = -5;
  valREF = 420;
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 5u);
  EXPECT_EQ(plots[0].y, Constant(1000));
  EXPECT_EQ(plots[1].y, Constant(1));
  EXPECT_EQ(plots[4].y, Constant(420));
  EXPECT_EQ(upTHR, 1000);
  EXPECT_EQ(loTHR, 1);
}

TEST_F(DataReadout, ChannelABandBelowZeroIsClampedToOne) {
  SetGraphSource(2);
  SetLiveIndex(0, 0);
  refA = 30;
  tolA = 50;
  refB = 700;
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 4u);
  ExpectLook(plots[0], kBand);
  ExpectLook(plots[1], kBand);
  ExpectLook(plots[2], kNormA);
  ExpectLook(plots[3], kReference);
  EXPECT_EQ(plots[0].y, Constant(80));
  EXPECT_EQ(plots[1].y, Constant(1));  // from -20
  EXPECT_EQ(plots[3].y, Constant(30));
  const auto norm = Memory(1);
  EXPECT_EQ(plots[2].y, Values(norm.data(), 128));
  ExpectCursor(1, norm[1]);  // index 0 from the controller
  EXPECT_EQ(Value(panelHandle, PANEL_VALA), kMinValA);
  EXPECT_EQ(Value(panelHandle, PANEL_VALB), kMinValB);
}

TEST_F(DataReadout, ChannelBBandAboveThousandIsClampedAndTheCursorStopsAtTheEnd) {
  SetGraphSource(3);
  SetLiveIndex(1, 200);
  refA = 30;
  refB = 990;
  tolB = 40;
  ClickDataReadout();
  const std::vector<GraphPlotInfo> plots = Plots();
  ASSERT_EQ(plots.size(), 4u);
  ExpectLook(plots[2], kNormB);
  ExpectLook(plots[3], kReference);
  EXPECT_EQ(plots[0].y, Constant(1000));  // from 1030
  EXPECT_EQ(plots[1].y, Constant(950));
  EXPECT_EQ(plots[3].y, Constant(990));
  const auto norm = Memory(1);
  EXPECT_EQ(plots[2].y, Values(norm.data() + 128, 128));
  ExpectCursor(128, 0);  // one past the drawn points
  EXPECT_EQ(NumCursors(), 1);
}

TEST_F(DataReadout, CursorOfChannelBSitsOnTheIndexedPoint) {
  SetGraphSource(3);
  SetLiveIndex(1, 42);
  ClickDataReadout();
  ExpectCursor(42, Memory(1)[128 + 42]);
}

// Indices straight from a caller, without a live answer limiting them first.
TEST_F(DataReadout, PlotLimitsAndStoresTheIndicesItselfAndKeepsVisibleValues) {
  SetGraphSource(2);
  uint16_t yA[256] = {};
  uint16_t yB[256] = {};
  for (int i = 0; i < 256; ++i) yA[i] = static_cast<uint16_t>(i + 1);
  indexA = 0;
  indexB = 300;
  MINvalA = 9;
  MINvalB = 8;
  PlotDATACurve(yA, yB, upArray, loArray, refArray);
  EXPECT_EQ(indexA, 1);
  EXPECT_EQ(indexB, 128);
  ExpectCursor(1, 2);
  EXPECT_EQ(Value(panelHandle, PANEL_VALA), 9);
  EXPECT_EQ(Value(panelHandle, PANEL_VALB), 8);
  EXPECT_EQ(Plots()[2].y.size(), 128u);
}

}  // namespace
