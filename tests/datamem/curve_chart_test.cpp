// The data graph as the operator reads and exports it: the legend of each
// graph source, autoscale over the fixed range, the image and the data.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "datamem/datamem.h"
#include "params/panels.h"
#include "scope/history.h"
#include "tests/scope/chart_operator.h"

namespace {

class DataGraph : public ChartOperator {
 protected:
  void SetUp() override {
    ChartOperator::SetUp();
    ASSERT_TRUE(dir_.isValid());
    // Raw data as our own controller simulator gives them: far above 0..1000.
    for (int i = 0; i < 256; ++i) {
      xArray[i] = static_cast<uint16_t>(i);
      yArrayA[i] = static_cast<uint16_t>(i < kDataPoints ? 548 + 20 * i : 0);
      yArrayB[i] = static_cast<uint16_t>(i < kDataPoints ? 3548 - 20 * i : 0);
      upArray[i] = 800;
      loArray[i] = 200;
      refArray[i] = 500;
    }
  }

  static void Draw(int source) {
    SetCtrlVal(panelHandle, PANEL_RNGGRAPHSOURCE, source);
    SetCtrlAttribute(panelHandle, PANEL_DATAGRAPH, ATTR_VISIBLE, 1);
    PlotDATACurve(yArrayA, yArrayB, upArray, loArray, refArray);
  }

  static std::pair<double, double> YRange() {
    double min = -1, max = -1;
    EXPECT_TRUE(GraphAxisRange(panelHandle, PANEL_DATAGRAPH, VAL_LEFT_YAXIS, &min, &max));
    return {min, max};
  }

  std::string Path(const char *name) const {
    return QDir(dir_.path()).filePath(QLatin1String(name)).toStdString();
  }

  QTemporaryDir dir_;
};

TEST_F(DataGraph, LegendNamesThePlotsOfEachGraphSource) {
  const std::pair<int, std::vector<std::string>> cases[] = {
      {0, {"Channel A", "Channel B"}},
      {1, {"Upper limit", "Lower limit", "Channel A", "Channel B", "Reference"}},
      {2, {"Upper limit", "Lower limit", "Channel A", "Reference"}},
      {3, {"Upper limit", "Lower limit", "Channel B", "Reference"}},
  };
  for (const auto &[source, names] : cases) {
    SCOPED_TRACE(source);
    Draw(source);
    EXPECT_EQ(ChartLegend(panelHandle, PANEL_DATAGRAPH), names);
    EXPECT_EQ(ChartXName(panelHandle, PANEL_DATAGRAPH), "Index");
  }
}

TEST_F(DataGraph, AutoscaleShowsTheRawDataTheFixedRangeCutsOff) {
  Draw(0);
  EXPECT_EQ(YRange(), std::make_pair(0.0, 1000.0));
  ASSERT_TRUE(Pick(PANEL_DATAGRAPH, "Autoscale"));
  Draw(0);  // a new readout sets its fixed range again: the operator's choice stays
  const auto [min, max] = YRange();
  EXPECT_LE(min, 548.0);
  EXPECT_GE(max, 3548.0);
  EXPECT_GT(min, 0.0);
  ASSERT_TRUE(Pick(PANEL_DATAGRAPH, "Autoscale"));
  EXPECT_EQ(YRange(), std::make_pair(0.0, 1000.0));
}

TEST_F(DataGraph, SaveImageWritesAPngOfTheGraphsSize) {
  Draw(1);
  const std::string path = Path("graph.png");
  AnswerFilePopup(path);
  ASSERT_TRUE(Pick(PANEL_DATAGRAPH, "Save image..."));
  const QImage image(QString::fromStdString(path), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(),
            Chart(PANEL_DATAGRAPH)->size() * Chart(PANEL_DATAGRAPH)->devicePixelRatio());
  EXPECT_EQ(StatusLine(), "Chart image saved: " + path);
}

TEST_F(DataGraph, SaveDataWritesTheIndexTheCurvesAndTheThresholdLines) {
  Draw(1);
  const std::string path = Path("graph.csv");
  AnswerFilePopup(path);
  ASSERT_TRUE(Pick(PANEL_DATAGRAPH, "Save data..."));
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> rows = file.readAll().split('\n');
  ASSERT_EQ(rows.size(), kDataPoints + 2);  // header, 128 points, after the last "\n"
  EXPECT_EQ(rows[0].toStdString(), "Index,Upper limit,Lower limit,Channel A,Channel B,Reference");
  for (int i = 0; i < kDataPoints; ++i) {
    const std::string expected = std::to_string(i) + ",800,200," + std::to_string(yArrayA[i]) +
                                 "," + std::to_string(yArrayB[i]) + ",500";
    EXPECT_EQ(rows[i + 1].toStdString(), expected);
  }
  EXPECT_TRUE(rows.back().isEmpty());
}

}  // namespace
