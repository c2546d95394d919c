// Internal to the user-interface run-time: the frame both chart widgets draw
// around their plot area (background, grid, axis numbers, axis names).
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

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
// Height of the legend band above the plot area of a chart `width` wide; 0
// without entries. Entries flow left to right and wrap onto further rows.
int LegendHeight(const QFontMetrics &metrics, const LegendEntry *entries, int count, int width);
// Draws the entries into the band (a line sample and the name each).
void DrawLegend(QPainter &painter, const QRect &band, const LegendEntry *entries, int count);

// The plot area inside a chart of the given size, below a legend band.
QRect ChartPlotArea(const QSize &size, bool withXAxis, int legendHeight = 0);
// Pixel of value v on an axis that runs from `low` (at min) to `high` (at max).
inline double AxisPixel(const AxisRange &axis, double v, double low, double high) {
  const double span = axis.max - axis.min;
  if (span == 0.0) return (low + high) / 2;
  return low + (v - axis.min) * (high - low) / span;
}
// The plot area's background, grid and border.
void DrawPlotArea(QPainter &painter, const QRect &plot);
// Background, grid, y numbers and name; x numbers and name when xAxis is given.
void DrawChartFrame(QPainter &painter, const QRect &plot, const AxisRange &yAxis,
                    const QString &yName, const AxisRange *xAxis, const QString &xName);
