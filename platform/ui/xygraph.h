// XY graph control: plots of (x, y) points kept as copies, manual or
// automatic axis ranges, axis names and cross-hair cursors.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "platform/ui/chartframe.h"
#include "platform/ui/chartmenu.h"

struct XYPlot {
  int handle = 0;
  std::vector<double> x;
  std::vector<double> y;
  int plotStyle = 0;  // VAL_THIN_LINE / VAL_THICK_LINE
  int lineStyle = 0;  // VAL_SOLID / VAL_DASH
  int color = 0;      // 0xRRGGBB
  QString name;       // in the legend; unnamed plots stay out of it
};

struct GraphCursor {
  bool placed = false;
  double x = 0.0;
  double y = 0.0;
  int mode = 0;  // stored; every cursor is drawn as a cross-hair
};

class XYGraph : public QWidget, public ChartActions {
 public:
  enum { kMaxCursors = 4 };

  explicit XYGraph(QWidget *parent = nullptr);

  // Takes xMin, xMax, yMin, yMax, xName, yName from the resource file.
  void configureFromProperties();

  int addPlot(XYPlot plot);  // returns the plot's handle
  bool deletePlot(int handle);
  void deleteAllPlots();
  const std::vector<XYPlot> &plots() const { return plots_; }
  bool setPlotName(int handle, const QString &name);

  // axis: VAL_XAXIS or VAL_LEFT_YAXIS.
  bool setManualRange(int axis, double min, double max);
  bool setAutoscale(int axis);
  // The range drawn now (for autoscaled axes, that of the plotted data; the
  // operator's autoscale of the y axis wins over the program's range).
  AxisRange axisRange(int axis) const;

  bool autoscaled() const override { return operatorAutoscale_; }
  void setAutoscaled(bool on) override;
  QString csvText() const override;

  void setXName(const QString &name);
  QString xName() const { return xName_; }
  void setYName(const QString &name);
  QString yName() const { return yName_; }

  int numCursors() const { return numCursors_; }
  bool setNumCursors(int count);
  // Cursors are numbered from 1.
  bool placeCursor(int cursor, double x, double y);
  bool setCursorMode(int cursor, int mode);
  const GraphCursor *cursor(int cursor) const;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  AxisRange dataRange(bool xAxis) const;
  bool plotsShareX() const;
  QString csvSharedX() const;
  QString csvPairs() const;
  QPen plotPen(const XYPlot &xy) const;
  void drawPlot(QPainter &painter, const QRect &plot, const XYPlot &xy) const;
  void drawCursor(QPainter &painter, const QRect &plot, const GraphCursor &cursor) const;
  QPointF toPixel(const QRect &plot, double x, double y) const;

  std::vector<XYPlot> plots_;
  int nextPlotHandle_ = 1;
  AxisRange xRange_{0.0, 100.0};
  AxisRange yRange_{0.0, 100.0};
  bool xAuto_ = false;
  bool yAuto_ = false;
  bool operatorAutoscale_ = false;
  QString xName_;
  QString yName_;
  int numCursors_ = 0;
  std::array<GraphCursor, kMaxCursors> cursors_{};
  mutable std::vector<QPointF> polyline_;  // drawing scratch
  std::vector<LegendEntry> legend_;        // drawing scratch
};

// The graph control of a panel, or nullptr with *error set.
XYGraph *FindXYGraph(int panel, int control, int *error);
