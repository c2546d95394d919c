#include "platform/ui/chartframe.h"

namespace {

constexpr int kLeftMargin = 58;  // room for the y numbers and the rotated y name
constexpr int kRightMargin = 10;
constexpr int kTopMargin = 8;
constexpr int kBottomMarginNoAxis = 8;
constexpr int kBottomMarginAxis = 34;  // x numbers and x name
constexpr int kDivisions = 5;

const QColor kPlotBackground(255, 255, 255);
const QColor kGridColor(215, 215, 215);
const QColor kFrameColor(90, 90, 90);

QString axisNumber(double v) {
  return QString::number(v, 'g', 6);
}

void drawYAxis(QPainter &painter, const QRect &plot, const AxisRange &axis, const QString &name) {
  const QFontMetrics metrics = painter.fontMetrics();
  for (int i = 0; i <= kDivisions; ++i) {
    const double value = axis.min + (axis.max - axis.min) * i / kDivisions;
    const int y = qRound(AxisPixel(axis, value, plot.bottom(), plot.top()));
    const QRect box(plot.left() - 44, y - metrics.height() / 2, 40, metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, axisNumber(value));
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
    painter.drawText(QRect(x - 30, plot.bottom() + 3, 60, metrics.height()), Qt::AlignCenter,
                     axisNumber(value));
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

QRect ChartPlotArea(const QSize &size, bool withXAxis) {
  const int bottom = withXAxis ? kBottomMarginAxis : kBottomMarginNoAxis;
  return QRect(kLeftMargin, kTopMargin, std::max(size.width() - kLeftMargin - kRightMargin, 2),
               std::max(size.height() - kTopMargin - bottom, 2));
}

void DrawChartFrame(QPainter &painter, const QRect &plot, const AxisRange &yAxis,
                    const QString &yName, const AxisRange *xAxis, const QString &xName) {
  painter.fillRect(plot, kPlotBackground);
  drawGrid(painter, plot);
  painter.setPen(QPen(kFrameColor, 0));
  painter.drawRect(plot);
  drawYAxis(painter, plot, yAxis, yName);
  if (xAxis != nullptr) drawXAxis(painter, plot, *xAxis, xName);
}
