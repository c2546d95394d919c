#include "platform/ui/xygraph.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QVariant>
#include <algorithm>
#include <utility>

#include "platform/ui/color.h"
#include "platform/ui/numbers.h"
#include "platform/ui/registry.h"
#include "platform/ui/text.h"
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
  setFocusPolicy(Qt::StrongFocus);  // Tab reaches the chart and its menu keys
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

bool XYGraph::setPlotName(int handle, const QString &name) {
  auto it = std::find_if(plots_.begin(), plots_.end(),
                         [handle](const XYPlot &p) { return p.handle == handle; });
  if (it == plots_.end()) return false;
  it->name = name;
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
  if (operatorAutoscale_ && !plots_.empty()) {
    const AxisRange shown = dataRange(false);
    return PaddedRange(shown.min, shown.max);
  }
  return yAuto_ ? dataRange(false) : yRange_;
}

void XYGraph::setAutoscaled(bool on) {
  operatorAutoscale_ = on;
  update();
}

bool XYGraph::plotsShareX() const {
  for (const XYPlot &p : plots_) {
    if (p.x != plots_.front().x) return false;
  }
  return true;
}

namespace {

QString plotLabel(const XYPlot &p, std::size_t index) {
  return p.name.isEmpty() ? QStringLiteral("Plot %1").arg(index + 1) : p.name;
}

}  // namespace

// One x column and a y column per plot, as the plots of a data set share their x.
QString XYGraph::csvSharedX() const {
  QString csv = CsvField(xName_.isEmpty() ? QStringLiteral("X") : xName_);
  for (std::size_t k = 0; k < plots_.size(); ++k) {
    csv += QLatin1Char(',') + CsvField(plotLabel(plots_[k], k));
  }
  csv += QLatin1Char('\n');
  const std::size_t rows = plots_.empty() ? 0 : plots_.front().x.size();
  for (std::size_t i = 0; i < rows; ++i) {
    csv += CsvNumber(plots_.front().x[i]);
    for (const XYPlot &p : plots_) csv += QLatin1Char(',') + CsvNumber(p.y[i]);
    csv += QLatin1Char('\n');
  }
  return csv;
}

// An x and a y column per plot; shorter plots leave their cells empty.
QString XYGraph::csvPairs() const {
  QString csv;
  std::size_t rows = 0;
  for (std::size_t k = 0; k < plots_.size(); ++k) {
    const QString label = plotLabel(plots_[k], k);
    if (k > 0) csv += QLatin1Char(',');
    csv += CsvField(label + QLatin1Char(' ') + (xName_.isEmpty() ? QStringLiteral("X") : xName_)) +
           QLatin1Char(',') + CsvField(label);
    rows = std::max(rows, plots_[k].x.size());
  }
  csv += QLatin1Char('\n');
  for (std::size_t i = 0; i < rows; ++i) {
    for (std::size_t k = 0; k < plots_.size(); ++k) {
      if (k > 0) csv += QLatin1Char(',');
      if (i < plots_[k].x.size()) {
        csv += CsvNumber(plots_[k].x[i]) + QLatin1Char(',') + CsvNumber(plots_[k].y[i]);
      } else {
        csv += QLatin1Char(',');
      }
    }
    csv += QLatin1Char('\n');
  }
  return csv;
}

QString XYGraph::csvText() const {
  return plotsShareX() ? csvSharedX() : csvPairs();
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

QPen XYGraph::plotPen(const XYPlot &xy) const {
  QPen pen(ColorFromValue(xy.color),
           xy.plotStyle == VAL_THICK_LINE ? kThickLineWidth : kThinLineWidth);
  pen.setStyle(PenStyleOf(xy.lineStyle));
  return pen;
}

void XYGraph::drawPlot(QPainter &painter, const QRect &plot, const XYPlot &xy) const {
  polyline_.resize(xy.x.size());
  for (std::size_t i = 0; i < xy.x.size(); ++i) polyline_[i] = toPixel(plot, xy.x[i], xy.y[i]);
  painter.setPen(plotPen(xy));
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
  legend_.clear();
  for (const XYPlot &p : plots_) {
    if (p.name.isEmpty()) continue;
    const QPen pen = plotPen(p);
    legend_.push_back(LegendEntry{p.name, pen.color(), pen.style(), pen.widthF()});
  }
  const QRect plot =
      DrawChartFrame(painter, size(), legend_.data(), static_cast<int>(legend_.size()),
                     {axisRange(VAL_LEFT_YAXIS), yName_, axisRange(VAL_XAXIS), xName_});
  DrawFocusFrame(painter, *this);
  painter.setClipRect(plot.adjusted(1, 1, 0, 0));
  for (const XYPlot &p : plots_) drawPlot(painter, plot, p);
  for (int i = 0; i < numCursors_; ++i) {
    if (cursors_[static_cast<std::size_t>(i)].placed) {
      drawCursor(painter, plot, cursors_[static_cast<std::size_t>(i)]);
    }
  }
}

void XYGraph::contextMenuEvent(QContextMenuEvent *event) {
  PopUpChartMenu(this, this, event->globalPos());
  event->accept();
}

void XYGraph::keyPressEvent(QKeyEvent *event) {
  if (!PopUpChartMenuByKey(this, this, *event)) QWidget::keyPressEvent(event);
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

int SetPlotAttribute(int panel, int control, int plotHandle, int attribute, const char *value) {
  int error = 0;
  XYGraph *graph = FindXYGraph(panel, control, &error);
  if (graph == nullptr) return error;
  if (attribute != ATTR_PLOT_LG_TEXT) return UIE_BAD_ATTRIBUTE;
  if (value == nullptr) return UIE_BAD_VALUE_TYPE;
  return graph->setPlotName(plotHandle, TextFromBytes(value)) ? 0 : UIE_BAD_VALUE_TYPE;
}
