// A chart's save while a run or a recording polls the controller: its file
// popup would hold the loop, so the saves are not offered then; the loop
// goes on with the menu open, and after Stop the chart is saved.
#include <QTemporaryDir>
#include <cstdio>

#include "platform/ui/testing.h"
#include "recorder/recorder.h"
#include "tests/scope/chart_operator.h"
#include "tests/scope/scope_fixture.h"

namespace {

struct Loop {
  const char *name;
  int start;
  int stop;
  int source;
  int chart;
};

const Loop kLoops[] = {
    {"LiveRun", PANEL_BTNRUN, PANEL_BTNSTOP, 0, PANEL_RAWCHART},
    {"Recording", PANEL_RECCTRL1, PANEL_RECCTRL2, 2, PANEL_NORMCHART},
};

QMenu *OpenMenu(int chart) {
  return OpenChartMenu(ControlWidget(panelHandle, chart));
}

class ChartSaveDuringALoop : public LiveScope, public testing::WithParamInterface<Loop> {
 protected:
  void TearDown() override {
    SetFilePopupAnswer({});
    SetOverwriteConfirmAnswer({});
    LiveScope::TearDown();
  }
};

TEST_P(ChartSaveDuringALoop, IsNotOfferedWhileItPollsAndIsOnceStopped) {
  const Loop &loop = GetParam();
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  std::snprintf(recfile_name, sizeof recfile_name, "%s",
                tmp.filePath(QStringLiteral("RVimRecord.dat")).toUtf8().constData());
  SetCtrlVal(panelPopUp, POPUP_NEDITRECTIME, 0);
  SetCtrlVal(panelPopUp, POPUP_NEDITRECSAMPLES, 60000);
  Choose(PANEL_RNGGRAPHSOURCE, loop.source);
  int popupsAsked = 0;
  const std::string image = tmp.filePath(QStringLiteral("chart.png")).toStdString();
  SetFilePopupAnswer([&](const FilePopupRequest &, std::string *chosen) {
    ++popupsAsked;
    *chosen = image;
    return true;
  });
  SetOverwriteConfirmAnswer([](const std::string &) { return true; });

  bool offeredDuringLoop = true;
  std::size_t requestsAtMenu = 0;
  std::size_t requestsAtStop = 0;
  QMenu *menu = nullptr;
  QTimer operatorAtChart;
  QObject::connect(&operatorAtChart, &QTimer::timeout, [&] {
    if (menu == nullptr && Sim().requestCount() > 5) {
      menu = OpenMenu(loop.chart);
      ASSERT_NE(menu, nullptr);
      offeredDuringLoop = MenuEntry(menu, "Save image...")->isEnabled() ||
                          MenuEntry(menu, "Save data...")->isEnabled();
      requestsAtMenu = Sim().requestCount();
    } else if (menu != nullptr && Sim().requestCount() > requestsAtMenu + 5) {
      operatorAtChart.stop();
      requestsAtStop = Sim().requestCount();
      menu->close();
      Click(loop.stop);
    }
  });
  operatorAtChart.start(1);
  Click(loop.start);  // returns when the loop has ended

  EXPECT_FALSE(offeredDuringLoop);
  EXPECT_EQ(popupsAsked, 0);
  EXPECT_GT(requestsAtStop, requestsAtMenu + 5) << "the loop went on with the menu open";
  QMenu *idleMenu = OpenMenu(loop.chart);
  ASSERT_NE(idleMenu, nullptr);
  EXPECT_TRUE(MenuEntry(idleMenu, "Save image...")->isEnabled());
  EXPECT_TRUE(MenuEntry(idleMenu, "Save data...")->isEnabled());
  MenuEntry(idleMenu, "Save image...")->trigger();
  idleMenu->close();
  EXPECT_EQ(popupsAsked, 1);
  EXPECT_EQ(Status(), "Chart image saved: " + image);
}

INSTANTIATE_TEST_SUITE_P(Loops, ChartSaveDuringALoop, ::testing::ValuesIn(kLoops),
                         [](const auto &row) { return std::string(row.param.name); });

}  // namespace
