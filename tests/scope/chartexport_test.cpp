// Export from the live charts' context menu: the image, the data on screen,
// and a failed save that keeps the old file and says so.
#include <signal.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "scope/history.h"
#include "scope/plots.h"
#include "tests/scope/chart_operator.h"

namespace {

struct LiveChart {
  int source;
  int chart;
  const char *header;
};

const LiveChart kCharts[] = {
    {0, PANEL_RAWCHART, "Time / s (0 = now),Channel A,Channel B"},
    {2, PANEL_NORMCHART,
     "Time / s (0 = now),Upper limit,Lower limit,Reference,Hold high,Hold low,Channel A"},
};

class ChartExport : public ChartOperator {
 protected:
  void SetUp() override {
    ChartOperator::SetUp();
    ASSERT_TRUE(dir_.isValid());
    FillarrayRAW(0, 0);
    FillarrayNORM(30, 400, 0);
    refA = 400;
    tolA = 30;
  }

  std::string Path(const char *name) const {
    return QDir(dir_.path()).filePath(QLatin1String(name)).toStdString();
  }

  // The operator shows the source and the scope plots a few answers, enough
  // for the time axis to know the rate.
  static void ShowLive(int source) {
    auto *ring = qobject_cast<QComboBox *>(ControlWidget(panelHandle, PANEL_RNGGRAPHSOURCE));
    ring->setCurrentIndex(ring->findData(source));
    emit ring->activated(ring->currentIndex());
    for (uint16_t i = 0; i < 4; ++i) {
      const uint16_t words[PNUM] = {static_cast<uint16_t>(410 + i),
                                    590,
                                    static_cast<uint16_t>(1000 + i),
                                    2000,
                                    3000,
                                    3100,
                                    450,
                                    640,
                                    380,
                                    560,
                                    77,
                                    1,
                                    1,
                                    0,
                                    0,
                                    200};
      for (int w = 0; w < PNUM; ++w) pp[w] = words[w];
      PlotChart(ChartOfGraphSource(source));
    }
  }

  static QByteArray Read(const std::string &path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir dir_;
};

TEST_F(ChartExport, SaveImageWritesAPngOfTheChartsSize) {
  for (const LiveChart &c : kCharts) {
    SCOPED_TRACE(c.header);
    ShowLive(c.source);
    const std::string path = Path("chart.png");
    AnswerFilePopup(path);
    ASSERT_TRUE(Pick(c.chart, "Save image..."));
    const QImage image(QString::fromStdString(path), "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), Chart(c.chart)->size() * Chart(c.chart)->devicePixelRatio());
    EXPECT_EQ(StatusLine(), "Chart image saved: " + path);
  }
}

TEST_F(ChartExport, SaveDataWritesTheHeaderAndEveryPointOnScreen) {
  for (const LiveChart &c : kCharts) {
    SCOPED_TRACE(c.header);
    ShowLive(c.source);
    const std::string path = Path("chart.csv");
    AnswerFilePopup(path);
    ASSERT_TRUE(Pick(c.chart, "Save data..."));
    const QList<QByteArray> rows = Read(path).split('\n');
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front().toStdString(), c.header);
    const int traces = static_cast<int>(rows.front().count(','));
    const std::vector<double> first = StripChartTrace(panelHandle, c.chart, 1);
    const double step = StripChartXStep(panelHandle, c.chart);         // seconds per answer
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(first.size()) + 2);  // header, last "\n"
    for (int i = 0; i < static_cast<int>(first.size()); ++i) {
      const QList<QByteArray> cells = rows[i + 1].split(',');
      ASSERT_EQ(cells.size(), traces + 1);
      const double secondsBack = (i - static_cast<int>(first.size() - 1)) * step;
      EXPECT_NEAR(cells[0].toDouble(), secondsBack, 1e-5 * std::abs(secondsBack));
      for (int t = 1; t <= traces; ++t) {
        EXPECT_EQ(cells[t].toDouble(), StripChartTrace(panelHandle, c.chart, t)[i]);
      }
    }
    EXPECT_EQ(StatusLine(), "Chart data saved: " + path);
  }
}

// Files may not grow past a few bytes while it is in force.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    struct rlimit small = saved_;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  struct rlimit saved_ {};
};

TEST_F(ChartExport, AFailedSaveKeepsTheOldFileAndReportsTheFailure) {
  struct Entry {
    const char *text;
    const char *file;
    const char *failure;
  };
  const Entry entries[] = {{"Save image...", "old.png", "Chart image NOT saved - cannot write "},
                           {"Save data...", "old.csv", "Chart data NOT saved - cannot write "}};
  ShowLive(0);
  for (const Entry &e : entries) {
    SCOPED_TRACE(e.text);
    const std::string path = Path(e.file);
    {
      QFile old(QString::fromStdString(path));
      ASSERT_TRUE(old.open(QIODevice::WriteOnly));
      old.write("old\n");
    }
    AnswerFilePopup(path);
    bool picked = false;
    {
      FileSizeLimit limit;
      picked = Pick(PANEL_RAWCHART, e.text);
    }
    ASSERT_TRUE(picked);
    EXPECT_EQ(Read(path), QByteArray("old\n"));
    EXPECT_EQ(StatusLine(), e.failure + path);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(),
              &e == &entries[0] ? 1 : 2);  // no temporary file left behind
  }
}

}  // namespace
