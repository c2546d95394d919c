#include "platform/ui/xygraph.h"

#include <QPainter>
#include <QVariant>
#include <algorithm>
#include <utility>

#include "platform/ui/color.h"
#include "platform/ui/numbers.h"
#include "platform/ui/registry.h"
#include "platform/ui/userint.h"

namespace {

constexpr double kThickLineWidth = 3.0;
constexpr double kThinLineWidth = 1.0;
const QColor kCursorColor(230, 120, 0);

double doubleProperty(const QWidget &w, const char *name, double fallback) {
  bool ok = false;
  const double v = w.property(name).toDouble(&ok);
  return ok ? v : fallback;
}

}  // namespace

XYGraph::XYGraph(QWidget *parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void XYGraph::configureFromProperties() {
  setManualRange(VAL_XAXIS, doubleProperty(*this, "xMin", xRange_.min),
                 doubleProperty(*this, "xMax", xRange_.max));
  setManualRange(VAL_LEFT_YAXIS, doubleProperty(*this, "yMin", yRange_.min),
                 doubleProperty(*this, "yMax", yRange_.max));
  if (property("xName").isValid()) setXName(property("xName").toString());
  if (property("yName").isValid()) setYName(property("yName").toString());
}

int XYGraph::addPlot(XYPlot plot) {
  plot.handle = nextPlotHandle_++;
  plots_.push_back(std::move(plot));
  update();
  return plots_.back().handle;
}

bool XYGraph::deletePlot(int handle) {
  auto it = std::find_if(plots_.begin(), plots_.end(),
                         [handle](const XYPlot &p) { return p.handle == handle; });
  if (it == plots_.end()) return false;
  plots_.erase(it);
  update();
  return true;
}

void XYGraph::deleteAllPlots() {
  plots_.clear();
  update();
}

bool XYGraph::setManualRange(int axis, double min, double max) {
  if (!(min < max)) return false;
  if (axis == VAL_XAXIS) {
    xRange_ = {min, max};
    xAuto_ = false;
  } else if (axis == VAL_LEFT_YAXIS) {
    yRange_ = {min, max};
    yAuto_ = false;
  } else {
    return false;
  }
  update();
  return true;
}

bool XYGraph::setAutoscale(int axis) {
  if (axis == VAL_XAXIS) {
    xAuto_ = true;
  } else if (axis == VAL_LEFT_YAXIS) {
    yAuto_ = true;
  } else {
    return false;
  }
  update();
  return true;
}

AxisRange XYGraph::dataRange(bool xAxis) const {
  bool any = false;
  AxisRange range{0.0, 0.0};
  for (const XYPlot &p : plots_) {
    for (double v : xAxis ? p.x : p.y) {
      range.min = any ? std::min(range.min, v) : v;
      range.max = any ? std::max(range.max, v) : v;
      any = true;
    }
  }
  if (!any) return {0.0, 10.0};
  if (range.min == range.max) return {range.min - 1.0, range.max + 1.0};
  return range;
}

AxisRange XYGraph::axisRange(int axis) const {
  if (axis == VAL_XAXIS) return xAuto_ ? dataRange(true) : xRange_;
  return yAuto_ ? dataRange(false) : yRange_;
}

void XYGraph::setXName(const QString &name) {
  xName_ = name;
  update();
}

void XYGraph::setYName(const QString &name) {
  yName_ = name;
  update();
}

bool XYGraph::setNumCursors(int count) {
  if (count < 0 || count > kMaxCursors) return false;
  numCursors_ = count;
  update();
  return true;
}

bool XYGraph::placeCursor(int cursor, double x, double y) {
  if (cursor < 1 || cursor > numCursors_) return false;
  GraphCursor &c = cursors_[static_cast<std::size_t>(cursor - 1)];
  c.placed = true;
  c.x = x;
  c.y = y;
  update();
  return true;
}

bool XYGraph::setCursorMode(int cursor, int mode) {
  if (cursor < 1 || cursor > numCursors_) return false;
  cursors_[static_cast<std::size_t>(cursor - 1)].mode = mode;
  return true;
}

const GraphCursor *XYGraph::cursor(int cursor) const {
  if (cursor < 1 || cursor > numCursors_) return nullptr;
  return &cursors_[static_cast<std::size_t>(cursor - 1)];
}

QPointF XYGraph::toPixel(const QRect &plot, double x, double y) const {
  return QPointF(AxisPixel(axisRange(VAL_XAXIS), x, plot.left(), plot.right()),
                 AxisPixel(axisRange(VAL_LEFT_YAXIS), y, plot.bottom(), plot.top()));
}

void XYGraph::drawPlot(QPainter &painter, const QRect &plot, const XYPlot &xy) const {
  polyline_.resize(xy.x.size());
  for (std::size_t i = 0; i < xy.x.size(); ++i) polyline_[i] = toPixel(plot, xy.x[i], xy.y[i]);
  QPen pen(ColorFromValue(xy.color),
           xy.plotStyle == VAL_THICK_LINE ? kThickLineWidth : kThinLineWidth);
  pen.setStyle(xy.lineStyle == VAL_DASH ? Qt::DashLine : Qt::SolidLine);
  painter.setPen(pen);
  painter.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
}

void XYGraph::drawCursor(QPainter &painter, const QRect &plot, const GraphCursor &c) const {
  const QPointF at = toPixel(plot, c.x, c.y);
  painter.setPen(QPen(kCursorColor, 1.0));
  painter.drawLine(QPointF(plot.left(), at.y()), QPointF(plot.right(), at.y()));
  painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
  painter.drawRect(QRectF(at.x() - 3, at.y() - 3, 6, 6));
}

void XYGraph::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QRect plot = ChartPlotArea(size(), true);
  const AxisRange x = axisRange(VAL_XAXIS);
  DrawChartFrame(painter, plot, axisRange(VAL_LEFT_YAXIS), yName_, &x, xName_);
  painter.setClipRect(plot.adjusted(1, 1, 0, 0));
  for (const XYPlot &p : plots_) drawPlot(painter, plot, p);
  for (int i = 0; i < numCursors_; ++i) {
    if (cursors_[static_cast<std::size_t>(i)].placed) {
      drawCursor(painter, plot, cursors_[static_cast<std::size_t>(i)]);
    }
  }
}

// ---- Procedural surface ------------------------------------------------------

XYGraph *FindXYGraph(int panel, int control, int *error) {
  QWidget *widget = FindControl(panel, control, error);
  if (widget == nullptr) return nullptr;
  auto *graph = dynamic_cast<XYGraph *>(widget);
  if (graph == nullptr) *error = UIE_BAD_CONTROL;
  return graph;
}

int PlotXY(int panel, int control, const void *xArray, const void *yArray, int numberOfPoints,
           int xDataType, int yDataType, int plotStyle, int /*pointStyle*/, int lineStyle,
           int /*pointFrequency*/, int color) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  if (xArray == nullptr || yArray == nullptr || numberOfPoints < 0 || !IsNumberType(xDataType) ||
      !IsNumberType(yDataType)) {
    return UIE_BAD_VALUE_TYPE;
  }
  XYPlot plot;
  plot.plotStyle = plotStyle;
  plot.lineStyle = lineStyle;
  plot.color = color;
  plot.x.resize(static_cast<std::size_t>(numberOfPoints));
  plot.y.resize(static_cast<std::size_t>(numberOfPoints));
  for (std::size_t i = 0; i < plot.x.size(); ++i) {
    plot.x[i] = NumberAt(xArray, xDataType, i);
    plot.y[i] = NumberAt(yArray, yDataType, i);
  }
  return graph->addPlot(std::move(plot));
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int /*refresh*/) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  if (plotHandle == -1) {
    graph->deleteAllPlots();
    return 0;
  }
  return graph->deletePlot(plotHandle) ? 0 : UIE_BAD_VALUE_TYPE;
}

int SetAxisScalingMode(int panel, int control, int axis, int mode, double min, double max) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  bool ok = false;
  if (mode == VAL_MANUAL) ok = graph->setManualRange(axis, min, max);
  if (mode == VAL_AUTOSCALE) ok = graph->setAutoscale(axis);
  return ok ? 0 : UIE_BAD_VALUE_TYPE;
}

int SetGraphCursor(int panel, int control, int cursorNumber, double x, double y) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  return graph->placeCursor(cursorNumber, x, y) ? 0 : UIE_BAD_VALUE_TYPE;
}

int SetCursorAttribute(int panel, int control, int cursorNumber, int attribute, int value) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  if (attribute != ATTR_CURSOR_MODE) return UIE_BAD_ATTRIBUTE;
  return graph->setCursorMode(cursorNumber, value) ? 0 : UIE_BAD_VALUE_TYPE;
}
