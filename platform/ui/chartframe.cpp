#include "platform/ui/chartframe.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/userint.h"

namespace {

constexpr int kLeftMargin = 58;  // room for the y numbers and the rotated y name
constexpr int kRightMargin = 10;
constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 34;  // x numbers and x name
constexpr int kDivisions = 5;
constexpr int kSampleLength = 24;  // the line sample of a legend entry
constexpr int kEntryGap = 16;
constexpr int kRowGap = 2;
constexpr double kAutoscaleRoom = 0.05;  // of the data's span, above and below

const QColor kPlotBackground(255, 255, 255);
const QColor kGridColor(215, 215, 215);
const QColor kFrameColor(90, 90, 90);

// As many decimals as a hundredth of the axis span needs: "-3.20", not "-3.19776".
QString axisNumber(double v, const AxisRange &axis) {
  const double span = std::abs(axis.max - axis.min);
  const int decimals =
      span > 0.0 ? std::clamp(static_cast<int>(std::ceil(-std::log10(span / 100))), 0, 6) : 0;
  if (std::abs(v) < span * 1e-9) v = 0.0;  // no "-0.00" at the origin
  return QString::number(v, 'f', decimals);
}

void drawYAxis(QPainter &painter, const QRect &plot, const AxisRange &axis, const QString &name) {
  const QFontMetrics metrics = painter.fontMetrics();
  for (int i = 0; i <= kDivisions; ++i) {
    const double value = axis.min + (axis.max - axis.min) * i / kDivisions;
    const int y = qRound(AxisPixel(axis, value, plot.bottom(), plot.top()));
    const QRect box(plot.left() - 44, y - metrics.height() / 2, 40, metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, axisNumber(value, axis));
  }
  if (name.isEmpty()) return;
  painter.save();
  painter.translate(metrics.height() / 2 + 1, plot.center().y());
  painter.rotate(-90);
  painter.drawText(
      QRect(-plot.height() / 2, -metrics.height() / 2, plot.height(), metrics.height()),
      Qt::AlignCenter, name);
  painter.restore();
}

void drawXAxis(QPainter &painter, const QRect &plot, const AxisRange &axis, const QString &name) {
  const QFontMetrics metrics = painter.fontMetrics();
  for (int i = 0; i <= kDivisions; ++i) {
    const double value = axis.min + (axis.max - axis.min) * i / kDivisions;
    const int x = qRound(AxisPixel(axis, value, plot.left(), plot.right()));
    // The last number ends at the chart's edge instead of running past it.
    const int left = std::min(x - 30, plot.right() + kRightMargin - 60);
    painter.drawText(QRect(left, plot.bottom() + 3, 60, metrics.height()),
                     left < x - 30 ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter,
                     axisNumber(value, axis));
  }
  if (name.isEmpty()) return;
  painter.drawText(
      QRect(plot.left(), plot.bottom() + 3 + metrics.height(), plot.width(), metrics.height()),
      Qt::AlignCenter, name);
}

void drawGrid(QPainter &painter, const QRect &plot) {
  painter.setPen(QPen(kGridColor, 0));
  for (int i = 1; i < kDivisions; ++i) {
    const int x = plot.left() + plot.width() * i / kDivisions;
    const int y = plot.top() + plot.height() * i / kDivisions;
    painter.drawLine(x, plot.top(), x, plot.bottom());
    painter.drawLine(plot.left(), y, plot.right(), y);
  }
}

}  // namespace

AxisRange PaddedRange(double min, double max) {
  if (min == max) return {min - 1.0, max + 1.0};
  const double room = (max - min) * kAutoscaleRoom;
  return {min - room, max + room};
}

Qt::PenStyle PenStyleOf(int lineStyle) {
  if (lineStyle == VAL_DASH) return Qt::DashLine;
  if (lineStyle == VAL_DOT) return Qt::DotLine;
  return Qt::SolidLine;
}

namespace {

int entryWidth(const QFontMetrics &metrics, const LegendEntry &entry) {
  return kSampleLength + 4 + metrics.horizontalAdvance(entry.name) + kEntryGap;
}

// Calls place(entry, x, row) for each entry as the band of that width lays them out;
// returns the number of rows.
template <class Place>
int layOutLegend(const QFontMetrics &metrics, const LegendEntry *entries, int count, int width,
                 Place place) {
  if (count == 0) return 0;
  int x = 0;
  int row = 0;
  for (int i = 0; i < count; ++i) {
    const int w = entryWidth(metrics, entries[i]);
    if (x > 0 && x + w > width) {
      x = 0;
      ++row;
    }
    place(entries[i], x, row);
    x += w;
  }
  return row + 1;
}

// Height of the legend band of a chart `width` wide; 0 without entries.
// Entries flow left to right and wrap onto further rows.
int legendHeight(const QFontMetrics &metrics, const LegendEntry *entries, int count, int width) {
  const int rows = layOutLegend(metrics, entries, count, width - kLeftMargin - kRightMargin,
                                [](const LegendEntry &, int, int) {});
  return rows * (metrics.height() + kRowGap) + (rows > 0 ? kTopMargin : 0);
}

void drawLegend(QPainter &painter, const QRect &band, const LegendEntry *entries, int count) {
  const QFontMetrics metrics = painter.fontMetrics();
  const int rowHeight = metrics.height() + kRowGap;
  const int left = band.left() + kLeftMargin;
  layOutLegend(metrics, entries, count, band.width() - kLeftMargin - kRightMargin,
               [&](const LegendEntry &entry, int x, int row) {
                 const int top = band.top() + kTopMargin + row * rowHeight;
                 const int middle = top + metrics.height() / 2;
                 QPen pen(entry.color, std::max(entry.width, 2.0));
                 pen.setStyle(entry.style);
                 painter.setPen(pen);
                 painter.drawLine(left + x, middle, left + x + kSampleLength, middle);
                 painter.setPen(QPen(kFrameColor, 0));
                 painter.drawText(
                     QRect(left + x + kSampleLength + 4, top, band.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, entry.name);
               });
}

QRect plotArea(const QSize &size, int legendHeight) {
  const int top = kTopMargin + legendHeight;
  return QRect(kLeftMargin, top, std::max(size.width() - kLeftMargin - kRightMargin, 2),
               std::max(size.height() - top - kBottomMargin, 2));
}

}  // namespace

void DrawPlotArea(QPainter &painter, const QRect &plot) {
  painter.fillRect(plot, kPlotBackground);
  drawGrid(painter, plot);
  painter.setPen(QPen(kFrameColor, 0));
  painter.drawRect(plot);
}

QRect DrawChartFrame(QPainter &painter, const QSize &size, const LegendEntry *legend, int count,
                     const ChartAxes &axes) {
  const int band = legendHeight(painter.fontMetrics(), legend, count, size.width());
  drawLegend(painter, QRect(0, 0, size.width(), band), legend, count);
  const QRect plot = plotArea(size, band);
  DrawPlotArea(painter, plot);
  drawYAxis(painter, plot, axes.y, axes.yName);
  drawXAxis(painter, plot, axes.x, axes.xName);
  return plot;
}

void DrawFocusFrame(QPainter &painter, const QWidget &chart) {
  if (!chart.hasFocus()) return;
  painter.save();
  painter.setClipping(false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(chart.palette().color(QPalette::Highlight), 2));
  painter.drawRect(QRectF(chart.rect()).adjusted(1, 1, -1, -1));
  painter.restore();
}
