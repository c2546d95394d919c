// What the live charts tell the operator: the legend and unit of each graph
// source, the time axis, and autoscale as the operator's choice.
#include <QComboBox>
#include <set>
#include <utility>
#include <vector>

#include "scope/history.h"
#include "scope/plots.h"
#include "tests/scope/chart_operator.h"
#include "tests/scope/live_answer.h"
#include "tests/support/test_clock.h"

namespace {

const char kRawUnit[] = "RAW-values / [ADC-units]";
const char kNormUnit[] = "NORM=1000*(A/Amax)";

class LiveCharts : public ChartOperator {
 protected:
  void SetUp() override {
    ChartOperator::SetUp();
    StartLiveState();
  }
  void TearDown() override {
    ResetTimerForTest();
    ChartOperator::TearDown();
  }

  // The operator picks a graph source in the ring.
  static void ChooseSource(int source) {
    auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_RNGGRAPHSOURCE));
    const int index = ring->findData(source);
    ring->setCurrentIndex(index);
    emit ring->activated(index);
  }

  static std::pair<double, double> YRange(int chart) {
    double min = -1, max = -1;
    EXPECT_TRUE(StripChartYRange(panelHandle, chart, &min, &max));
    return {min, max};
  }
};

struct SourceLabels {
  int source;
  int chart;
  std::vector<std::string> names;
  const char *unit;
};

TEST_F(LiveCharts, EachGraphSourceNamesItsTracesAndUnitAndNoTwoTracesLookAlike) {
  const SourceLabels cases[] = {
      {0, PANEL_RAWCHART, {"Channel A", "Channel B"}, kRawUnit},
      {1, PANEL_RAWCHART, {"Channel A", "Channel B"}, kNormUnit},
      {2,
       PANEL_NORMCHART,
       {"Upper limit", "Lower limit", "Reference", "Hold high", "Hold low", "Channel A"},
       kNormUnit},
      {3,
       PANEL_NORMCHART,
       {"Upper limit", "Lower limit", "Reference", "Hold high", "Hold low", "Channel B"},
       kNormUnit},
  };
  for (const SourceLabels &c : cases) {
    SCOPED_TRACE(c.source);
    ChooseSource(c.source);
    PlotChart(ChartOfGraphSource(c.source));  // the refresh sets the colours
    EXPECT_EQ(ChartLegend(panelHandle, c.chart), c.names);
    EXPECT_EQ(ChartYName(panelHandle, c.chart), c.unit);
    std::set<std::pair<int, int>> looks;
    for (int t = 1; t <= static_cast<int>(c.names.size()); ++t) {
      looks.insert({StripChartTraceColor(panelHandle, c.chart, t),
                    StripChartTraceStyle(panelHandle, c.chart, t)});
    }
    EXPECT_EQ(looks.size(), c.names.size());
  }
}

TEST_F(LiveCharts, TimeAxisCountsPointsUntilTheRefreshRateIsKnownThenSeconds) {
  ChooseSource(0);
  EXPECT_EQ(ChartXName(panelHandle, PANEL_RAWCHART), "Points (0 = newest)");
  EXPECT_EQ(StripChartXStep(panelHandle, PANEL_RAWCHART), 1.0);
  for (int i = 0; i < 6; ++i) {
    AdvanceTimerForTest(0.5);
    PlotRAWValues();
  }
  EXPECT_EQ(ChartXName(panelHandle, PANEL_RAWCHART), "Time / s (0 = now)");
  EXPECT_NEAR(StripChartXStep(panelHandle, PANEL_RAWCHART), 0.5, 0.05);
  AdvanceTimerForTest(20.0);  // one long pause, as a data readout makes
  PlotRAWValues();
  EXPECT_NEAR(StripChartXStep(panelHandle, PANEL_RAWCHART), 0.5, 0.05);
  // The jitter of single refreshes leaves the axis numbers still; a new rate moves them.
  const double step = StripChartXStep(panelHandle, PANEL_RAWCHART);
  for (int i = 0; i < 8; ++i) {
    AdvanceTimerForTest(i % 2 == 0 ? 0.495 : 0.505);
    PlotRAWValues();
  }
  EXPECT_EQ(StripChartXStep(panelHandle, PANEL_RAWCHART), step);
  for (int i = 0; i < 8; ++i) {
    AdvanceTimerForTest(0.6);
    PlotRAWValues();
  }
  EXPECT_NEAR(StripChartXStep(panelHandle, PANEL_RAWCHART), 0.6, 0.001);
  // The band chart has its own refreshes and knows no rate yet.
  EXPECT_EQ(ChartXName(panelHandle, PANEL_NORMCHART), "Points (0 = newest)");
}

TEST_F(LiveCharts, AutoscaleOfTheRawChartIsTheOperatorsChoiceOverTheFixedRange) {
  ChooseSource(1);  // normalised values in the bottom quarter of 0..4096
  for (int i = 0; i < 3; ++i) {
    LoadLiveAnswer(400 + 10 * i, 600 - 10 * i);
    PlotRAWValues();
  }
  EXPECT_EQ(YRange(PANEL_RAWCHART), std::make_pair(0.0, 4096.0));

  ASSERT_TRUE(Pick(PANEL_RAWCHART, "Autoscale"));
  LoadLiveAnswer(900, 100);
  PlotRAWValues();
  double low = 0, high = 0;
  for (int t = 1; t <= 2; ++t) {
    for (double v : StripChartTrace(panelHandle, PANEL_RAWCHART, t)) {
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  const auto [min, max] = YRange(PANEL_RAWCHART);
  EXPECT_LE(min, low);
  EXPECT_GE(max, high);
  EXPECT_LE(max, 1000.0);  // the data fill the chart, not its bottom quarter

  ASSERT_TRUE(Pick(PANEL_RAWCHART, "Autoscale"));  // unchecked again
  EXPECT_EQ(YRange(PANEL_RAWCHART), std::make_pair(0.0, 4096.0));
  // The band chart keeps its range: it offers no autoscale.
  EXPECT_FALSE(Pick(PANEL_NORMCHART, "Autoscale"));
}

}  // namespace
