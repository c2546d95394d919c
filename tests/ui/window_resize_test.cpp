// The main window grows: the chart area takes the extra room, the banner and
// the status line widen, and every input keeps its place.
#include <gtest/gtest.h>

#include <QApplication>
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

void ResizeWindow(int panel, int width, int height) {
  PanelWidget(panel)->resize(width, height);
  QApplication::processEvents();
}

// How a control follows the window's growth (dw, dh): 1 = by the growth.
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

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    panel_ = testsupport::LoadProgramPanel(PANEL);
    ASSERT_GT(panel_, 0);
    DisplayPanel(panel_);
    drawn_ = PanelWidget(panel_)->size();
  }
  void TearDown() override { DiscardPanel(panel_); }

  int panel_ = 0;
  QSize drawn_;
};

TEST_F(MainWindow, ChartsTakeTheExtraRoomAndTheOtherControlsKeepTheirArrangement) {
  std::vector<Geometry> before;
  for (const Follow &f : kFollow) before.push_back(Place(panel_, f.control));
  const int dw = 1920 - drawn_.width();
  const int dh = 1000 - drawn_.height();
  ResizeWindow(panel_, 1920, 1000);
  ASSERT_EQ(PanelWidget(panel_)->size(), QSize(1920, 1000));
  for (std::size_t i = 0; i < std::size(kFollow); ++i) {
    const Follow &f = kFollow[i];
    SCOPED_TRACE(f.control);
    const Geometry expected = {before[i][0] + f.top * dh, before[i][1] + f.left * dw,
                               before[i][2] + f.width * dw, before[i][3] + f.height * dh};
    EXPECT_EQ(Place(panel_, f.control), expected);
  }
  ResizeWindow(panel_, drawn_.width(), drawn_.height());  // and back, to the pixel
  for (std::size_t i = 0; i < std::size(kFollow); ++i) {
    EXPECT_EQ(Place(panel_, kFollow[i].control), before[i]) << kFollow[i].control;
  }
}

TEST_F(MainWindow, NeverShrinksBelowItsDrawnSizeWhileTheSecondPanelStaysFixed) {
  ResizeWindow(panel_, 800, 600);
  EXPECT_EQ(PanelWidget(panel_)->size(), drawn_);
  EXPECT_GE(PanelWidget(panel_)->maximumWidth(), 1920);
  const int popup = testsupport::LoadProgramPanel(POPUP);
  ASSERT_GT(popup, 0);
  const QWidget *second = PanelWidget(popup);
  EXPECT_EQ(second->minimumSize(), second->maximumSize());
  DiscardPanel(popup);
}

}  // namespace
