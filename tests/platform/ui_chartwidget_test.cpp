// What the strip chart and the XY graph share: axis names from the file and
// from the program, and each procedure refusing the other kind of chart.
#include <string>

#include "tests/platform/ui_fixture.h"

namespace {

enum { MAIN_NAMED_STRIP = 30, MAIN_NAMED_GRAPH = 31 };

using ChartWidgets = UiTest;

// Charts whose file gives both axis names.
std::string NamedCharts() {
  const std::string names = Prop("xName", "string", "seconds") + Prop("yName", "string", "counts");
  return Control("StripChart", "MAIN_NAMED_STRIP", MAIN_NAMED_STRIP,
                 Prop("numTraces", "number", "1") + names, 10, 400, 200, 60) +
         Control("XYGraph", "MAIN_NAMED_GRAPH", MAIN_NAMED_GRAPH, names, 220, 400, 200, 60);
}

TEST_F(ChartWidgets, BothKindsTakeTheirAxisNamesFromTheFile) {
  const std::string file =
      WriteFile("named.uir", ResourceXml(MainPanelXml("CC_Main", NamedCharts())));
  const int panel = LoadPanel(0, file.c_str(), kMainPanel);
  ASSERT_GT(panel, 0);
  for (int chart : {MAIN_NAMED_STRIP, MAIN_NAMED_GRAPH}) {
    SCOPED_TRACE(chart);
    EXPECT_EQ(ChartXName(panel, chart), "seconds");
    EXPECT_EQ(ChartYName(panel, chart), "counts");
  }
  EXPECT_EQ(ChartXName(panel, MAIN_STRIP), "");  // none in the file
  DiscardPanel(panel);
}

struct NameCase {
  int control;
  int attribute;
  const char *text;
};

const NameCase kNames[] = {
    {MAIN_STRIP, ATTR_XNAME, "time / s"}, {MAIN_STRIP, ATTR_YNAME, "raw"},
    {MAIN_GRAPH, ATTR_XNAME, "index"},    {MAIN_GRAPH, ATTR_YNAME, "NORM=1000*(A/Amax)"},
    {MAIN_STRIP, ATTR_XNAME, "time / s"},  // again, unchanged
};

TEST_F(ChartWidgets, TheProgramNamesEachAxisOfEitherKind) {
  const int panel = LoadMain();
  for (const NameCase &c : kNames) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(SetCtrlAttribute(panel, c.control, c.attribute, c.text), 0);
    const std::string shown =
        c.attribute == ATTR_XNAME ? ChartXName(panel, c.control) : ChartYName(panel, c.control);
    EXPECT_EQ(shown, c.text);
  }
  // Each name went to its own axis only.
  EXPECT_EQ(ChartYName(panel, MAIN_STRIP), "raw");
  EXPECT_EQ(ChartXName(panel, MAIN_GRAPH), "index");
  EXPECT_EQ(SetCtrlAttribute(panel, MAIN_BUTTON, ATTR_XNAME, "x"), UIE_BAD_ATTRIBUTE);
}

TEST_F(ChartWidgets, EachProcedureRefusesTheOtherKindOfControl) {
  const int panel = LoadMain();
  const double y[2] = {1, 2};
  for (int control : {MAIN_GRAPH, MAIN_BUTTON}) {
    SCOPED_TRACE(control);
    EXPECT_EQ(PlotStripChart(panel, control, y, 2, 0, 0, VAL_DOUBLE), UIE_BAD_CONTROL);
    EXPECT_EQ(SetStripChartXStep(panel, control, 0.5), UIE_BAD_CONTROL);
  }
  for (int control : {MAIN_STRIP, MAIN_BUTTON}) {
    SCOPED_TRACE(control);
    EXPECT_EQ(PlotXY(panel, control, y, y, 2, VAL_DOUBLE, VAL_DOUBLE, VAL_THIN_LINE, VAL_NO_POINT,
                     VAL_SOLID, 1, VAL_GREEN),
              UIE_BAD_CONTROL);
    EXPECT_EQ(SetGraphCursor(panel, control, 1, 0.0, 0.0), UIE_BAD_CONTROL);
  }
  EXPECT_EQ(PlotStripChart(panel, 99, y, 2, 0, 0, VAL_DOUBLE), UIE_BAD_CONTROL);  // no such id
}

}  // namespace
