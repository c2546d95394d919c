// Internal to the user-interface run-time: the frame both chart widgets draw
// around their plot area (background, grid, axis numbers, axis names).
#pragma once

#include <QPainter>
#include <QRect>
#include <QString>

struct AxisRange {
  double min = 0.0;
  double max = 100.0;
};

// The plot area inside a chart of the given size.
QRect ChartPlotArea(const QSize &size, bool withXAxis);
// Pixel of value v on an axis that runs from `low` (at min) to `high` (at max).
inline double AxisPixel(const AxisRange &axis, double v, double low, double high) {
  const double span = axis.max - axis.min;
  if (span == 0.0) return (low + high) / 2;
  return low + (v - axis.min) * (high - low) / span;
}
// Background, grid, y numbers and name; x numbers and name when xAxis is given.
void DrawChartFrame(QPainter &painter, const QRect &plot, const AxisRange &yAxis,
                    const QString &yName, const AxisRange *xAxis, const QString &xName);
