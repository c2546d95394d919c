// The main window grows and shrinks: the chart area takes the extra room and
// gives up room first, the banner and the status line follow the width,
// every input keeps its place; on a screen too small even for that the panel
// scrolls. The window's frame always lies on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <array>

#include "tests/support/ui_inspect.h"
#include "platform/ui/userint.h"
#include "tests/support/program_panels.h"
#include "ui/RVIMZEL4V14.h"

namespace {

using Geometry = std::array<int, 4>;  // top, left, width, height in panel coordinates

Geometry Place(int panel, int control) {
  Geometry g{};
  const int attributes[] = {ATTR_TOP, ATTR_LEFT, ATTR_WIDTH, ATTR_HEIGHT};
  for (std::size_t i = 0; i < g.size(); ++i) GetCtrlAttribute(panel, control, attributes[i], &g[i]);
  return g;
}

// How a control follows the window's change of size (dw, dh): 1 = by it.
struct Follow {
  int control;
  int top, left, width, height;
};

const Follow kFollow[] = {
    {PANEL_RAWCHART, 0, 0, 1, 1},       {PANEL_NORMCHART, 0, 0, 1, 1},
    {PANEL_DATAGRAPH, 0, 0, 1, 1},      {PANEL_BANNER, 0, 0, 1, 0},
    {PANEL_STATUS, 1, 0, 1, 0},         {PANEL_TOGBTNPARAII, 0, 1, 0, 0},
    {PANEL_VALA, 1, 0, 0, 0},           {PANEL_IN1VAL, 1, 0, 0, 0},
    {PANEL_BTNRUN, 0, 0, 0, 0},         {PANEL_BTNSTOP, 0, 0, 0, 0},
    {PANEL_RNGGRAPHSOURCE, 0, 0, 0, 0}, {PANEL_REFA, 0, 0, 0, 0},
    {PANEL_TRIGMODETEXT, 0, 0, 0, 0},   {PANEL_DROPDCOM, 0, 0, 0, 0},
};

const int kCharts[] = {PANEL_RAWCHART, PANEL_NORMCHART, PANEL_DATAGRAPH};

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    panel_ = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panel_, 0);
    DisplayPanel(panel_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(PanelWindow(panel_)));
    // The drawn size: the window made as large as the file draws the panel.
    ResizeWindow(1100, 720);
    drawn_ = PanelWidget(panel_)->size();
  }
  void TearDown() override { DiscardPanel(panel_); }

  void ResizeWindow(int width, int height) {
    PanelWindow(panel_)->resize(width, height);
    QApplication::processEvents();
  }
  QScrollArea *View() const { return qobject_cast<QScrollArea *>(PanelWindow(panel_)); }
  bool Scrolls() const {
    return View()->horizontalScrollBar()->isVisible() || View()->verticalScrollBar()->isVisible();
  }
  // Wholly inside the part of the panel the window shows.
  bool Shown(int control) const {
    const QWidget *widget = ControlWidget(panel_, control);
    const QRect inView(widget->mapTo(View()->viewport(), QPoint(0, 0)), widget->size());
    return View()->viewport()->rect().contains(inView);
  }

  int panel_ = 0;
  QSize drawn_;
};

TEST_F(MainWindow, ChartsTakeTheChangeOfSizeAndTheOtherControlsKeepTheirArrangement) {
  ASSERT_EQ(drawn_, QSize(1100, 720));
  std::vector<Geometry> before;
  for (const Follow &f : kFollow) before.push_back(Place(panel_, f.control));
  for (const QSize size : {QSize(1920, 1000), QSize(1100, 690)}) {
    const int dw = size.width() - drawn_.width();
    const int dh = size.height() - drawn_.height();
    ResizeWindow(size.width(), size.height());
    ASSERT_EQ(PanelWidget(panel_)->size(), size);
    EXPECT_FALSE(Scrolls());
    for (std::size_t i = 0; i < std::size(kFollow); ++i) {
      const Follow &f = kFollow[i];
      SCOPED_TRACE(f.control);
      const Geometry expected = {before[i][0] + f.top * dh, before[i][1] + f.left * dw,
                                 before[i][2] + f.width * dw, before[i][3] + f.height * dh};
      EXPECT_EQ(Place(panel_, f.control), expected);
    }
  }
  ResizeWindow(drawn_.width(), drawn_.height());  // and back, to the pixel
  for (std::size_t i = 0; i < std::size(kFollow); ++i) {
    EXPECT_EQ(Place(panel_, kFollow[i].control), before[i]) << kFollow[i].control;
  }
}

TEST_F(MainWindow, BelowItsLeastSizeThePanelScrollsWhileTheSecondPanelStaysFixed) {
  ResizeWindow(800, 500);
  EXPECT_EQ(PanelWindow(panel_)->size(), QSize(800, 500));
  EXPECT_EQ(PanelWidget(panel_)->size(), PanelWidget(panel_)->minimumSize());
  EXPECT_TRUE(View()->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(View()->verticalScrollBar()->isVisible());
  for (int chart : kCharts) {
    const QWidget *widget = ControlWidget(panel_, chart);
    EXPECT_EQ(widget->size().expandedTo(widget->minimumSize()), widget->size()) << chart;
  }
  const int popup = testsupport::LoadProgramPanel(POPUP);
  ASSERT_GT(popup, 0);
  const QWidget *second = PanelWindow(popup);
  EXPECT_EQ(second, PanelWidget(popup));
  EXPECT_EQ(second->minimumSize(), second->maximumSize());
  DiscardPanel(popup);
}

// Screens as the window manager leaves them (its panels taken off) and the
// frame it puts around the window: the frame lies on the screen, the charts
// keep their readable minimum, and the status line is in view wherever the
// panel needs no scrolling.
TEST_F(MainWindow, FitsEachScreenWithItsFrameOnItAndTheStatusLineInView) {
  const QMargins openbox(1, 20, 1, 5);
  const QMargins thick(4, 30, 4, 8);
  const struct {
    const char *screen;
    QRect area;
    QMargins frame;
    bool scrolls;
  } cases[] = {
      {"1280x720", {0, 0, 1280, 720}, openbox, false},
      {"1366x768, a panel below", {0, 0, 1366, 738}, thick, false},
      {"1366x768, a panel on top", {0, 32, 1366, 736}, openbox, false},
      {"1920x1080 on the right", {1280, 0, 1920, 1050}, thick, false},
      {"1024x600", {0, 0, 1024, 600}, openbox, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.screen);
    ResizeWindow(1100, 720);
    PanelWindow(panel_)->move(c.area.topLeft());
    FitPanelWindowForTest(panel_, c.area, c.frame);
    QApplication::processEvents();
    // A window's pos() is its frame's corner (its client area lies inside).
    const QWidget *window = PanelWindow(panel_);
    const QRect frame(window->pos(), window->size().grownBy(c.frame));
    EXPECT_TRUE(c.area.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(Scrolls(), c.scrolls);
    EXPECT_EQ(Shown(PANEL_STATUS), !c.scrolls);
    EXPECT_EQ(Shown(PANEL_NORMCHART), !c.scrolls);
    for (int chart : kCharts) {
      const QWidget *widget = ControlWidget(panel_, chart);
      EXPECT_GE(widget->width(), widget->minimumWidth()) << chart;
      EXPECT_GE(widget->height(), widget->minimumHeight()) << chart;
    }
    if (c.area.height() < 720 + c.frame.top() + c.frame.bottom()) {
      EXPECT_LT(ControlWidget(panel_, PANEL_NORMCHART)->height(), 392) << "charts gave up height";
    }
  }
}

}  // namespace
