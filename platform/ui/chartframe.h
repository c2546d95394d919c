// Internal to the user-interface run-time: the frame both chart widgets draw
// around their plot area (background, grid, axis numbers, axis names).
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QWidget>

struct AxisRange {
  double min = 0.0;
  double max = 100.0;

  bool operator==(const AxisRange &) const = default;
};

// A range around min..max with a little room on either side, for autoscaled axes.
AxisRange PaddedRange(double min, double max);

// A named trace or plot, as the legend shows it.
struct LegendEntry {
  QString name;
  QColor color;
  Qt::PenStyle style = Qt::SolidLine;
  double width = 1.0;

  bool operator==(const LegendEntry &) const = default;
};
// VAL_SOLID, VAL_DASH or VAL_DOT as a pen style.
Qt::PenStyle PenStyleOf(int lineStyle);
// Pixel of value v on an axis that runs from `low` (at min) to `high` (at max).
inline double AxisPixel(const AxisRange &axis, double v, double low, double high) {
  const double span = axis.max - axis.min;
  if (span == 0.0) return (low + high) / 2;
  return low + (v - axis.min) * (high - low) / span;
}
// The plot area's background, grid and border.
void DrawPlotArea(QPainter &painter, const QRect &plot);
// The ranges and names of a chart's two axes.
struct ChartAxes {
  AxisRange y;
  QString yName;
  AxisRange x;
  QString xName;

  bool operator==(const ChartAxes &) const = default;
};
// Draws the legend band (entries flow left to right and wrap) and below it the
// plot area with its grid, axis numbers and names into a chart of `size`;
// returns the plot area.
QRect DrawChartFrame(QPainter &painter, const QSize &size, const LegendEntry *legend, int count,
                     const ChartAxes &axes);
// A chart that has the keyboard focus shows it by a frame along its border.
void DrawFocusFrame(QPainter &painter, const QWidget &chart);
