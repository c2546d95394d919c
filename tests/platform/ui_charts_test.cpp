// Strip chart and XY graph content and drawing.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <functional>

#include "platform/ui/chartframe.h"
#include "platform/ui/stripchart.h"
#include "tests/platform/ui_fixture.h"

namespace {

using Points = std::vector<double>;

// Axis numbers fall on multiples of 1, 2 or 5 times a power of ten inside the
// range; a fixed range keeps its ends, an autoscaled one widens to a step.
TEST(AxisNumbers, StepsOfOneTwoOrFiveInsideTheRange) {
  const struct {
    AxisRange range;
    int maxDivisions;
    Points numbers;
  } cases[] = {
      {{0, 4096}, 8, {0, 1000, 2000, 3000, 4000}},                 // raw chart
      {{0, 1100}, 8, {0, 200, 400, 600, 800, 1000}},               // normalised chart
      {{0, 1100}, 4, {0, 500, 1000}},                              // a chart given up height
      {{1, 128}, 9, {20, 40, 60, 80, 100, 120}},                   // data graph index
      {{-3.7125, 0}, 8, {-3.5, -3, -2.5, -2, -1.5, -1, -0.5, 0}},  // time axis
      {{2458.7, 2460.1}, 5, {2459, 2459.5, 2460}},
      {{-1, 1}, 2, {-1, 0, 1}},
      {{0, 0.001}, 2, {0, 0.0005, 0.001}},
      {{5, 5}, 8, {}},
  };
  for (const auto &c : cases) {
    const AxisTicks ticks = ChooseTicks(c.range, c.maxDivisions);
    Points numbers;
    for (int i = 0; i < ticks.count; ++i) numbers.push_back(ticks.value(i));
    ASSERT_EQ(numbers.size(), c.numbers.size()) << c.range.min << ".." << c.range.max;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      EXPECT_NEAR(numbers[i], c.numbers[i], 1e-12) << c.range.min << ".." << c.range.max;
    }
  }
  const struct {
    double min, max;
    AxisRange range;
  } autoscaled[] = {
      {398, 1718, {200, 1800}}, {0, 1000, {0, 1000}}, {574, 992, {500, 1000}},
      {-0.3, 0.7, {-0.4, 0.8}}, {7, 7, {6, 8}},
  };
  for (const auto &a : autoscaled) {
    const AxisRange range = AutoscaleRange(a.min, a.max);
    EXPECT_NEAR(range.min, a.range.min, 1e-9) << a.min << ".." << a.max;
    EXPECT_NEAR(range.max, a.range.max, 1e-9) << a.min << ".." << a.max;
  }
}

bool HasColour(const QImage &image, QColor colour) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

TEST_F(UiTest, StripChartSplitsInterleavedPointsAndKeepsTheLastScreen) {
  const int panel = LoadMain();  // 2 traces, 5 points per screen
  const double first[] = {1, 10, 2, 20, 3, 30, 4, 40};
  EXPECT_EQ(PlotStripChart(panel, MAIN_STRIP, first, 8, 0, 0, VAL_DOUBLE), 0);
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 1), (Points{1, 2, 3, 4}));
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 2), (Points{10, 20, 30, 40}));
  const double second[] = {5, 50, 6, 60, 7};  // the odd last value is no record
  PlotStripChart(panel, MAIN_STRIP, second, 5, 0, 0, VAL_DOUBLE);
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 1), (Points{2, 3, 4, 5, 6}));
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 2), (Points{20, 30, 40, 50, 60}));
  EXPECT_TRUE(StripChartTrace(panel, MAIN_STRIP, 3).empty());
}

TEST_F(UiTest, StripChartTakesTheRefreshOfTheScopeWholeEachTime) {
  const int panel = LoadMain();
  SetCtrlAttribute(panel, MAIN_STRIP, ATTR_NUM_TRACES, 6);
  SetCtrlAttribute(panel, MAIN_STRIP, ATTR_POINTS_PER_SCREEN, 101);
  double history[600];
  for (int refresh = 0; refresh < 3; ++refresh) {
    for (int i = 0; i < 600; ++i) history[i] = refresh * 1000 + i;
    // Set again at every refresh, as the scope does: the content must survive.
    SetCtrlAttribute(panel, MAIN_STRIP, ATTR_POINTS_PER_SCREEN, 101);
    SetCtrlAttribute(panel, MAIN_STRIP, ATTR_SCROLL_MODE_STRIP, 1);
    SetCtrlAttribute(panel, MAIN_STRIP, ATTR_NUM_TRACES, 6);
    PlotStripChart(panel, MAIN_STRIP, history, 600, 0, 0, VAL_DOUBLE);
  }
  const Points trace6 = StripChartTrace(panel, MAIN_STRIP, 6);
  ASSERT_EQ(trace6.size(), 101u);
  EXPECT_EQ(trace6.front(), 1000 + 599);  // last point of the previous refresh
  EXPECT_EQ(trace6[1], 2000 + 5);
  EXPECT_EQ(trace6.back(), 2000 + 599);
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 1)[1], 2000 + 0);
  EXPECT_EQ(Attr(panel, MAIN_STRIP, ATTR_POINTS_PER_SCREEN), 101);
}

TEST_F(UiTest, StripChartEmptiesWhenTheTraceCountChanges) {
  const int panel = LoadMain();
  const double values[] = {1, 2, 3, 4};
  PlotStripChart(panel, MAIN_STRIP, values, 4, 0, 0, VAL_DOUBLE);
  SetCtrlAttribute(panel, MAIN_STRIP, ATTR_NUM_TRACES, 1);
  EXPECT_TRUE(StripChartTrace(panel, MAIN_STRIP, 1).empty());
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_STRIP, ATTR_NUM_TRACES, kMaxTraces + 1),
            UIE_BAD_VALUE_TYPE);
}

TEST_F(UiTest, StripChartReadsOtherTypesWithStartAndSkip) {
  const int panel = LoadMain();
  const unsigned short words[] = {9, 1, 9, 2, 9, 3, 9, 4};
  EXPECT_EQ(PlotStripChart(panel, MAIN_STRIP, words, 4, 1, 1, VAL_UNSIGNED_SHORT_INTEGER), 0);
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 1), (Points{1, 3}));
  EXPECT_EQ(StripChartTrace(panel, MAIN_STRIP, 2), (Points{2, 4}));
  EXPECT_EQ(PlotStripChart(panel, MAIN_STRIP, words, 4, 0, 0, 99), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(PlotStripChart(panel, MAIN_GRAPH, words, 4, 0, 0, VAL_DOUBLE), UIE_BAD_CONTROL);
}

TEST_F(UiTest, StripChartDrawsTracesInTheirColours) {
  const int panel = LoadMain();
  EXPECT_NE(StripChartTraceColor(panel, MAIN_STRIP, 1), StripChartTraceColor(panel, MAIN_STRIP, 2));
  EXPECT_EQ(SetTraceAttribute(panel, MAIN_STRIP, 1, ATTR_TRACE_COLOR, VAL_BLUE), 0);
  EXPECT_EQ(SetTraceAttribute(panel, MAIN_STRIP, 2, ATTR_TRACE_COLOR, VAL_DK_GREEN), 0);
  EXPECT_EQ(StripChartTraceColor(panel, MAIN_STRIP, 1), VAL_BLUE);
  EXPECT_EQ(SetTraceAttribute(panel, MAIN_STRIP, 0, ATTR_TRACE_COLOR, VAL_RED), UIE_BAD_VALUE_TYPE);
  EXPECT_EQ(SetTraceAttribute(panel, MAIN_STRIP, 1, ATTR_DIMMED, 1), UIE_BAD_ATTRIBUTE);
  const double values[] = {50, 20, 50, 20, 50, 20, 50, 20, 50, 20};
  PlotStripChart(panel, MAIN_STRIP, values, 10, 0, 0, VAL_DOUBLE);
  const QImage image = ControlWidget(panel, MAIN_STRIP)->grab().toImage();
  EXPECT_TRUE(HasColour(image, QColor(0, 0, 255)));
  EXPECT_TRUE(HasColour(image, QColor(0, 128, 0)));
  EXPECT_FALSE(HasColour(image, QColor(255, 0, 0)));
}

// What the window shows of a chart, once the paced repaints are done.
QImage OnScreen(QWidget *chart) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 80) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  QWidget *window = chart->window();
  const QPoint at = chart->mapTo(window, QPoint(0, 0));
  return window->windowHandle()
      ->screen()
      ->grabWindow(window->winId(), at.x(), at.y(), chart->width(), chart->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

QImage Fresh(QWidget *chart) {
  return chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// New points repaint the plot area over the frame drawn before; after every
// kind of change the window must show the chart as a fresh drawing does.
TEST_F(UiTest, StripChartOnScreenIsAFreshDrawingAfterEveryChange) {
  const int panel = LoadMain();  // 2 traces, 5 points per screen
  QWidget *chart = ControlWidget(panel, MAIN_STRIP);
  double values[16];
  for (int i = 0; i < 16; ++i) values[i] = 10 + 5 * i;
  const double higher[] = {200, 300, 250, 260};  // autoscaled, the y numbers change
  PlotStripChart(panel, MAIN_STRIP, values, 16, 0, 0, VAL_DOUBLE);
  const QImage before = OnScreen(chart);
  EXPECT_EQ(before, Fresh(chart));

  const std::function<void()> changes[] = {
      [&] { PlotStripChart(panel, MAIN_STRIP, values + 4, 4, 0, 0, VAL_DOUBLE); },
      [&] { SetCtrlAttribute(panel, MAIN_STRIP, ATTR_YNAME, "raw"); },
      [&] { SetTraceAttribute(panel, MAIN_STRIP, 1, ATTR_TRACE_LG_TEXT, "Channel A"); },
      [&] { SetStripChartXStep(panel, MAIN_STRIP, 0.5); },
      [&] { SetCtrlAttribute(panel, MAIN_STRIP, ATTR_YNAME, "NORM"); },
      [&] { PlotStripChart(panel, MAIN_STRIP, values, 2, 0, 0, VAL_DOUBLE); },
      [&] { dynamic_cast<StripChart *>(chart)->setAutoscaled(true); },
      [&] { PlotStripChart(panel, MAIN_STRIP, higher, 4, 0, 0, VAL_DOUBLE); },
  };
  for (std::size_t i = 0; i < std::size(changes); ++i) {
    SCOPED_TRACE(i);
    changes[i]();
    EXPECT_EQ(OnScreen(chart), Fresh(chart));
  }
  EXPECT_NE(OnScreen(chart), before);
}

TEST_F(UiTest, StripChartAndGraphCarryAYAxisName) {
  const int panel = LoadMain();
  EXPECT_EQ(ChartYName(panel, MAIN_GRAPH), "volts");  // from the file
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_GRAPH, ATTR_YNAME, "NORM=1000*(A/Amax)"), 0);
  EXPECT_EQ(ChartYName(panel, MAIN_GRAPH), "NORM=1000*(A/Amax)");
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_STRIP, ATTR_YNAME, "raw"), 0);
  EXPECT_EQ(ChartYName(panel, MAIN_STRIP), "raw");
}

TEST_F(UiTest, GraphKeepsCopiesOfItsPlotsUntilDeleted) {
  const int panel = LoadMain();
  unsigned short x[4] = {0, 1, 2, 3};
  unsigned short y[4] = {10, 20, 30, 40};
  const int thick =
      PlotXY(panel, MAIN_GRAPH, x, y, 4, VAL_UNSIGNED_SHORT_INTEGER, VAL_UNSIGNED_SHORT_INTEGER,
             VAL_THICK_LINE, VAL_NO_POINT, VAL_SOLID, 1, VAL_GREEN);
  y[0] = 99;  // the graph holds its own copy
  const double dx[2] = {0.5, 1.5};
  const double dy[2] = {5.0, 6.0};
  const int dashed = PlotXY(panel, MAIN_GRAPH, dx, dy, 2, VAL_DOUBLE, VAL_DOUBLE, VAL_THIN_LINE,
                            VAL_NO_POINT, VAL_DASH, 1, VAL_BLACK);
  EXPECT_GT(thick, 0);
  EXPECT_GT(dashed, 0);
  EXPECT_NE(thick, dashed);
  std::vector<GraphPlotInfo> plots = GraphPlots(panel, MAIN_GRAPH);
  ASSERT_EQ(plots.size(), 2u);
  EXPECT_EQ(plots[0].y, (Points{10, 20, 30, 40}));
  EXPECT_EQ(plots[0].plotStyle, VAL_THICK_LINE);
  EXPECT_EQ(plots[0].color, VAL_GREEN);
  EXPECT_EQ(plots[1].x, (Points{0.5, 1.5}));
  EXPECT_EQ(plots[1].lineStyle, VAL_DASH);
  EXPECT_EQ(DeleteGraphPlot(panel, MAIN_GRAPH, thick, VAL_IMMEDIATE_DRAW), 0);
  plots = GraphPlots(panel, MAIN_GRAPH);
  ASSERT_EQ(plots.size(), 1u);
  EXPECT_EQ(plots[0].color, VAL_BLACK);
  EXPECT_LT(DeleteGraphPlot(panel, MAIN_GRAPH, thick, VAL_IMMEDIATE_DRAW), 0);
  PlotXY(panel, MAIN_GRAPH, x, y, 4, VAL_UNSIGNED_SHORT_INTEGER, VAL_UNSIGNED_SHORT_INTEGER,
         VAL_THIN_LINE, VAL_NO_POINT, VAL_SOLID, 1, VAL_RED);
  EXPECT_EQ(DeleteGraphPlot(panel, MAIN_GRAPH, -1, VAL_IMMEDIATE_DRAW), 0);
  EXPECT_TRUE(GraphPlots(panel, MAIN_GRAPH).empty());
  EXPECT_EQ(PlotXY(panel, MAIN_STRIP, x, y, 4, VAL_DOUBLE, VAL_DOUBLE, 0, 0, 0, 1, 0),
            UIE_BAD_CONTROL);
}

TEST_F(UiTest, GraphAxesAndCursor) {
  const int panel = LoadMain();
  double min = 0, max = 0;
  ASSERT_TRUE(GraphAxisRange(panel, MAIN_GRAPH, VAL_XAXIS, &min, &max));
  EXPECT_EQ(min, 0.0);
  EXPECT_EQ(max, 10.0);  // from the file
  EXPECT_EQ(SetAxisScalingMode(panel, MAIN_GRAPH, VAL_XAXIS, VAL_MANUAL, 1.0, 128.0), 0);
  EXPECT_EQ(SetAxisScalingMode(panel, MAIN_GRAPH, VAL_LEFT_YAXIS, VAL_MANUAL, 0.0, 1000.0), 0);
  GraphAxisRange(panel, MAIN_GRAPH, VAL_XAXIS, &min, &max);
  EXPECT_EQ(max, 128.0);
  GraphAxisRange(panel, MAIN_GRAPH, VAL_LEFT_YAXIS, &min, &max);
  EXPECT_EQ(max, 1000.0);
  EXPECT_LT(SetAxisScalingMode(panel, MAIN_GRAPH, VAL_XAXIS, VAL_MANUAL, 5.0, 5.0), 0);

  double x = 0, y = 0;
  EXPECT_LT(SetGraphCursor(panel, MAIN_GRAPH, 1, 3, 4), 0);  // no cursors yet
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_GRAPH, ATTR_NUM_CURSORS, 1), 0);
  EXPECT_EQ(Attr(panel, MAIN_GRAPH, ATTR_NUM_CURSORS), 1);
  EXPECT_FALSE(GraphCursorPosition(panel, MAIN_GRAPH, 1, &x, &y));
  EXPECT_EQ(SetCursorAttribute(panel, MAIN_GRAPH, 1, ATTR_CURSOR_MODE, 4), 0);
  EXPECT_EQ(SetGraphCursor(panel, MAIN_GRAPH, 1, 64.0, 500.0), 0);
  ASSERT_TRUE(GraphCursorPosition(panel, MAIN_GRAPH, 1, &x, &y));
  EXPECT_EQ(x, 64.0);
  EXPECT_EQ(y, 500.0);
  EXPECT_LT(SetGraphCursor(panel, MAIN_GRAPH, 2, 1, 1), 0);
}

TEST_F(UiTest, GraphDrawsThickAndDashedLinesAndTheCursor) {
  const int panel = LoadMain();
  const double x[2] = {0, 10};
  const double high[2] = {80, 80};
  const double low[2] = {20, 20};
  PlotXY(panel, MAIN_GRAPH, x, high, 2, VAL_DOUBLE, VAL_DOUBLE, VAL_THICK_LINE, VAL_NO_POINT,
         VAL_SOLID, 1, VAL_RED);
  PlotXY(panel, MAIN_GRAPH, x, low, 2, VAL_DOUBLE, VAL_DOUBLE, VAL_THIN_LINE, VAL_NO_POINT,
         VAL_DASH, 1, VAL_BLUE);
  const QImage plain = ControlWidget(panel, MAIN_GRAPH)->grab().toImage();
  EXPECT_TRUE(HasColour(plain, QColor(255, 0, 0)));
  EXPECT_TRUE(HasColour(plain, QColor(0, 0, 255)));
  SetCtrlAttribute(panel, MAIN_GRAPH, ATTR_NUM_CURSORS, 1);
  SetGraphCursor(panel, MAIN_GRAPH, 1, 5, 50);
  const QImage withCursor = ControlWidget(panel, MAIN_GRAPH)->grab().toImage();
  EXPECT_NE(plain, withCursor);
}

}  // namespace
