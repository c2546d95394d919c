// The chart refreshes and the graph-source and power controls, on the real
// panels: what lands in the histories, on the charts and in the indicators.
#include "scope/plots.h"

#include <QAbstractButton>
#include <QComboBox>
#include <vector>

#include "scope/acquire.h"
#include "scope/history.h"
#include "tests/params/loaded_panels.h"
#include "tests/scope/live_answer.h"

namespace {

class Plots : public LoadedPanels {
 protected:
  void SetUp() override {
    LoadedPanels::SetUp();
    StartLiveState();
  }

  static void Source(int value) { SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, value); }

  static int Attribute(int control, int attribute) {
    int value = -1;
    GetCtrlAttribute(panelHandle, control, attribute, &value);
    return value;
  }

  static std::vector<int> Indicators() {
    const int ids[] = {PANEL_VALA,   PANEL_VALB,    PANEL_ADCA,    PANEL_ADCB,    PANEL_AMAX,
                       PANEL_BMAX,   PANEL_MAXVALA, PANEL_MINVALA, PANEL_MAXVALB, PANEL_MINVALB,
                       PANEL_IN0VAL, PANEL_IN1VAL,  PANEL_TOLA,    PANEL_TOLB};
    std::vector<int> values;
    for (int id : ids) values.push_back(Value(panelHandle, id));
    return values;
  }

  static void ChooseRing(int control, int value) {
    auto *ring = Widget<QComboBox>(panelHandle, control);
    const int index = ring->findData(value);
    ring->setCurrentIndex(index);
    emit ring->activated(index);
  }
};

TEST_F(Plots, RawRefreshAppendsTheChosenSourceInItsColours) {
  Source(0);
  PlotRAWValues();
  EXPECT_EQ(arrayRAW[198], 1111);
  EXPECT_EQ(arrayRAW[199], 2222);
  EXPECT_EQ(Attribute(PANEL_RAWCHART, ATTR_NUM_TRACES), 2);
  EXPECT_EQ(Attribute(PANEL_RAWCHART, ATTR_POINTS_PER_SCREEN), 101);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 1), 0x0000FF);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 2), 0x00FF00);
  const std::vector<double> first = StripChartTrace(panelHandle, PANEL_RAWCHART, 1);
  ASSERT_EQ(first.size(), 100u);  // one refresh hands over the whole history
  EXPECT_EQ(first.front(), 0);
  EXPECT_EQ(first.back(), 1111);

  Source(1);
  LoadLiveAnswer(420, 580);
  PlotRAWValues();
  EXPECT_EQ(arrayRAW[196], 1111);  // the older record keeps the raw values
  EXPECT_EQ(arrayRAW[198], 420);
  EXPECT_EQ(arrayRAW[199], 580);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 1), 0xFF0000);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 2), 0x404040);
  const std::vector<double> second = StripChartTrace(panelHandle, PANEL_RAWCHART, 2);
  ASSERT_EQ(second.size(), 101u);
  EXPECT_EQ(second[99], 2222);
  EXPECT_EQ(second.back(), 580);
}

TEST_F(Plots, RawRefreshOutsideTheRawSourcesAppendsZerosAndStillShowsTheValues) {
  Source(1);
  PlotRAWValues();
  Source(2);
  LoadLiveAnswer(430, 570);
  pp[14] = 0;
  PlotRAWValues();
  EXPECT_EQ(arrayRAW[196], 410);
  EXPECT_EQ(arrayRAW[198], 0);
  EXPECT_EQ(arrayRAW[199], 0);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 1), 0xFF0000);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_RAWCHART, 2), 0x404040);
  EXPECT_EQ(indexA, 1);
  EXPECT_EQ(Indicators(),
            (std::vector<int>{430, 570, 1111, 2222, 3000, 3100, 450, 380, 640, 560, 1, 0, 30, 40}));
}

TEST_F(Plots, NormalisedRefreshDrawsTheBandTracesAndTheChannelColour) {
  SetCtrlVal(panelHandle, PANEL_HWMODE, 0);
  SetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, 0);
  Source(2);
  PlotNORMValues(arrayNORM);
  const double expected[6] = {430, 370, 400, 450, 380, 410};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(arrayNORM[594 + i], expected[i]) << i;
  EXPECT_EQ(arrayNORM[588], 2560);
  EXPECT_EQ(Attribute(PANEL_NORMCHART, ATTR_NUM_TRACES), 6);
  EXPECT_EQ(Attribute(PANEL_NORMCHART, ATTR_POINTS_PER_SCREEN), 101);
  const int colours[6] = {0x008000, 0x008000, 0x000000, 0xFF0000, 0xFF0000, 0xFF0000};
  for (int t = 1; t <= 6; ++t) {
    EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_NORMCHART, t), colours[t - 1]) << t;
    EXPECT_EQ(StripChartTrace(panelHandle, PANEL_NORMCHART, t).back(), expected[t - 1]) << t;
  }
  EXPECT_EQ(Indicators(),
            (std::vector<int>{410, 590, 1111, 2222, 3000, 3100, 450, 380, 640, 560, 1, 0, 30, 40}));

  Source(3);
  PlotNORMValues(arrayNORM);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_NORMCHART, 6), 0x404040);
  EXPECT_EQ(arrayNORM[599], 590);
  // Another source leaves the band, the value and trace 6's colour alone.
  Source(0);
  LoadLiveAnswer(999, 998);
  PlotNORMValues(arrayNORM);
  EXPECT_EQ(StripChartTraceColor(panelHandle, PANEL_NORMCHART, 6), 0x404040);
  EXPECT_EQ(arrayNORM[599], 590);
  EXPECT_EQ(arrayNORM[597], 1005);  // nothing to hold
}

TEST_F(Plots, CommonToleranceSourceOverwritesBothToleranceInputsWithTheReportedOne) {
  SetCtrlVal(panelHandle, PANEL_HWMODE, 1);
  SetCtrlVal(panelPopUp, POPUP_DROP_EVALMODE, 1);
  SetCtrlVal(panelHandle, PANEL_TOLA, 5);  // an edit typed during the run
  Source(2);
  PlotNORMValues(arrayNORM);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLA), 77);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLB), 77);
  EXPECT_EQ(arrayNORM[594], 400 + 77);
  // The raw refresh always shows the stored tolerances.
  PlotRAWValues();
  EXPECT_EQ(Value(panelHandle, PANEL_TOLA), 30);
  EXPECT_EQ(Value(panelHandle, PANEL_TOLB), 40);
}

TEST_F(Plots, GraphSourceRingPicksTheChartAndThePowerSwitchTheInput) {
  ChooseRing(PANEL_RNGGRAPHSOURCE, 1);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(Widget<QWidget>(panelHandle, PANEL_RAWCHART)->isVisibleTo(PanelWidget(panelHandle)),
            true);
  int visible = -1;
  GetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 0);
  ChooseRing(PANEL_RNGGRAPHSOURCE, 3);
  EXPECT_EQ(type, 1);
  GetCtrlAttribute(panelHandle, PANEL_RAWCHART, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 0);
  GetCtrlAttribute(panelHandle, PANEL_NORMCHART, ATTR_VISIBLE, &visible);
  EXPECT_EQ(visible, 1);

  auto *power = Widget<QAbstractButton>(panelHandle, PANEL_BINSWPOWER);
  for (int i = 0; i < 2; ++i) {
    QTest::mouseClick(power, Qt::LeftButton);
    const int state = Value(panelHandle, PANEL_BINSWPOWER);
    int a = -1, b = -1;
    GetCtrlAttribute(panelHandle, PANEL_POWERA, ATTR_VISIBLE, &a);
    GetCtrlAttribute(panelHandle, PANEL_POWERB, ATTR_VISIBLE, &b);
    EXPECT_EQ(a, state == 1 ? 1 : 0) << "switch " << state;
    EXPECT_EQ(b, state == 1 ? 0 : 1) << "switch " << state;
  }
}

}  // namespace
