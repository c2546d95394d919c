// Strip chart control (no Q_OBJECT: AUTOMOC skips headers named ui_*.h): up to kMaxTraces traces
// that scroll as points are appended; the screen shows the newest pointsPerScreen points of each.
// Storage is allocated once per chart, so plotting never allocates.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "platform/ui/chartframe.h"
#include "platform/ui/chartmenu.h"
#include "platform/ui/framecache.h"
#include "platform/ui/userint.h"

class StripChart : public QWidget, public ChartActions {
 public:
  explicit StripChart(QWidget *parent = nullptr);

  // Takes numTraces, pointsPerScreen, yMin, yMax, yName from the resource file.
  void configureFromProperties();

  int numTraces() const { return numTraces_; }
  // A new trace count starts the chart empty (the interleaving changes).
  bool setNumTraces(int count);
  int pointsPerScreen() const { return pointsPerScreen_; }
  bool setPointsPerScreen(int points);
  void setYRange(double min, double max);
  AxisRange yRange() const { return yRange_; }
  void setYName(const QString &name);
  QString yName() const { return yName_; }
  // Traces are numbered from 1.
  bool setTraceColor(int trace, QColor color);
  QColor traceColor(int trace) const;
  bool setLineStyle(int trace, int style);  // VAL_SOLID, VAL_DASH, VAL_DOT
  int lineStyle(int trace) const;
  // The name the legend shows; traces without one stay out of the legend.
  bool setTraceName(int trace, const QString &name);
  QString traceName(int trace) const;

  // x axis: the newest point at 0, each older one `step` further left.
  bool setXStep(double step);
  double xStep() const { return xStep_; }
  void setXName(const QString &name);
  QString xName() const { return xName_; }
  // The y range drawn now: the program's range, or the data's when the
  // operator chose autoscale.
  AxisRange shownYRange() const;

  bool autoscaled() const override { return autoscale_; }
  void setAutoscaled(bool on) override;
  QString csvText() const override;

  // Appends `records` records of numTraces values; valueAt(k) gives the k-th
  // value of the interleaved sequence (t1, t2, .., t1, t2, ..).
  template <class ValueAt>
  void appendRecords(int records, ValueAt valueAt);

  // Points on screen per trace, and point i (0 = oldest) of a trace (from 1).
  int pointsShown() const;
  double shownPoint(int trace, int i) const;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  double &sample(int traceIndex, int slot) {
    return samples_[static_cast<std::size_t>(traceIndex) * kMaxPointsPerScreen + slot];
  }
  double sample(int traceIndex, int slot) const {
    return samples_[static_cast<std::size_t>(traceIndex) * kMaxPointsPerScreen + slot];
  }
  void drawTrace(QPainter &painter, const QRect &plot, const AxisRange &y, int traceIndex);
  int legendEntries(std::array<LegendEntry, kMaxTraces> *entries) const;
  FrameContent frameContent() const;
  // New points repaint the plot area only, unless the frame changes with them.
  void repaintForNewPoints();
  AxisRange xRange() const;
  double xOfPoint(int i) const;

  int numTraces_ = 1;
  int pointsPerScreen_ = 100;
  AxisRange yRange_;
  QString yName_;
  std::array<QColor, kMaxTraces> colors_;
  std::array<int, kMaxTraces> lineStyles_{};
  std::array<QString, kMaxTraces> names_;
  QString xName_;
  double xStep_ = 1.0;
  bool autoscale_ = false;
  std::vector<double> samples_;    // per trace a ring of kMaxPointsPerScreen slots
  int head_ = 0;                   // slot of the next record
  int stored_ = 0;                 // records held, at most kMaxPointsPerScreen
  std::vector<QPointF> polyline_;  // drawing scratch, kMaxPointsPerScreen points
  FrameCache frame_;
};

// The chart control of a panel, or nullptr with *error set.
StripChart *FindStripChart(int panel, int control, int *error);

template <class ValueAt>
void StripChart::appendRecords(int records, ValueAt valueAt) {
  int k = 0;
  for (int r = 0; r < records; ++r) {
    for (int t = 0; t < numTraces_; ++t) sample(t, head_) = valueAt(k++);
    head_ = (head_ + 1) % kMaxPointsPerScreen;
    if (stored_ < kMaxPointsPerScreen) ++stored_;
  }
  repaintForNewPoints();
}
