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

// The numbers of an axis: `count` multiples of `step` (1, 2 or 5 times a
// power of ten) from first * step up, all inside the range; the ends of the
// range may fall between them.
struct AxisTicks {
  long long first = 0;
  double step = 1.0;
  int count = 0;

  double value(int i) const { return static_cast<double>(first + i) * step; }
  bool operator==(const AxisTicks &) const = default;
};
// The smallest such step that puts at most `maxDivisions` steps into the range.
AxisTicks ChooseTicks(const AxisRange &axis, int maxDivisions);
// The range of an autoscaled axis: min..max widened to the nearest multiples
// of its tick step.
AxisRange AutoscaleRange(double min, double max);

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
// The ranges and names of a chart's two axes.
struct ChartAxes {
  AxisRange y;
  QString yName;
  AxisRange x;
  QString xName;

  bool operator==(const ChartAxes &) const = default;
};
// The plot area's background, grid (at the axis numbers) and border.
void DrawPlotArea(QPainter &painter, const QRect &plot, const ChartAxes &axes);
// Draws the legend band (entries flow left to right and wrap) and below it the
// plot area with its grid, axis numbers and names into a chart of `size`;
// returns the plot area.
QRect DrawChartFrame(QPainter &painter, const QSize &size, const LegendEntry *legend, int count,
                     const ChartAxes &axes);
// A chart that has the keyboard focus shows it by a frame along its border.
void DrawFocusFrame(QPainter &painter, const QWidget &chart);
