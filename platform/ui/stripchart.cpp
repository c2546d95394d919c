#include "platform/ui/stripchart.h"

#include <QPaintEvent>
#include <QPainter>
#include <QVariant>

#include "platform/ui/color.h"
#include "platform/ui/numbers.h"
#include "platform/ui/registry.h"

namespace {

// Distinct defaults, so traces the program does not colour stay apart.
const std::array<QColor, kMaxTraces> kDefaultTraceColors = {
    QColor(0xFF, 0x00, 0x00), QColor(0x00, 0xA0, 0x00), QColor(0x00, 0x00, 0xFF),
    QColor(0x00, 0x00, 0x00), QColor(0xC0, 0x00, 0xC0), QColor(0x00, 0xA0, 0xA0),
    QColor(0xFF, 0x80, 0x00), QColor(0x80, 0x80, 0x80)};

int intProperty(const QWidget &w, const char *name, int fallback) {
  bool ok = false;
  const int v = w.property(name).toInt(&ok);
  return ok ? v : fallback;
}

double doubleProperty(const QWidget &w, const char *name, double fallback) {
  bool ok = false;
  const double v = w.property(name).toDouble(&ok);
  return ok ? v : fallback;
}

}  // namespace

StripChart::StripChart(QWidget *parent)
    : QWidget(parent),
      colors_(kDefaultTraceColors),
      samples_(static_cast<std::size_t>(kMaxTraces) * kMaxPointsPerScreen, 0.0),
      polyline_(kMaxPointsPerScreen) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StripChart::configureFromProperties() {
  setNumTraces(intProperty(*this, "numTraces", numTraces_));
  setPointsPerScreen(intProperty(*this, "pointsPerScreen", pointsPerScreen_));
  setYRange(doubleProperty(*this, "yMin", yRange_.min), doubleProperty(*this, "yMax", yRange_.max));
  const QVariant name = property("yName");
  if (name.isValid()) setYName(name.toString());
}

bool StripChart::setNumTraces(int count) {
  if (count < 1 || count > kMaxTraces) return false;
  if (count == numTraces_) return true;
  numTraces_ = count;
  head_ = 0;
  stored_ = 0;
  update();
  return true;
}

bool StripChart::setPointsPerScreen(int points) {
  if (points < 2 || points > kMaxPointsPerScreen) return false;
  if (points == pointsPerScreen_) return true;
  pointsPerScreen_ = points;
  update();
  return true;
}

void StripChart::setYRange(double min, double max) {
  yRange_ = {min, max};
  update();
}

void StripChart::setYName(const QString &name) {
  yName_ = name;
  update();
}

bool StripChart::setTraceColor(int trace, QColor color) {
  if (trace < 1 || trace > kMaxTraces) return false;
  colors_[trace - 1] = color;
  update();
  return true;
}

QColor StripChart::traceColor(int trace) const {
  return trace >= 1 && trace <= kMaxTraces ? colors_[trace - 1] : QColor();
}

int StripChart::pointsShown() const {
  return std::min(stored_, pointsPerScreen_);
}

double StripChart::shownPoint(int trace, int i) const {
  const int shown = pointsShown();
  const int slot = (head_ - shown + i + kMaxPointsPerScreen) % kMaxPointsPerScreen;
  return sample(trace - 1, slot);
}

void StripChart::drawTrace(QPainter &painter, const QRect &plot, int traceIndex) {
  const int shown = pointsShown();
  const double step = static_cast<double>(plot.width()) / (pointsPerScreen_ - 1);
  for (int i = 0; i < shown; ++i) {
    const double y = AxisPixel(yRange_, shownPoint(traceIndex + 1, i), plot.bottom(), plot.top());
    polyline_[static_cast<std::size_t>(i)] = QPointF(plot.left() + i * step, y);
  }
  painter.setPen(QPen(colors_[static_cast<std::size_t>(traceIndex)], 1.5));
  painter.drawPolyline(polyline_.data(), shown);
}

void StripChart::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QRect plot = ChartPlotArea(size(), false);
  DrawChartFrame(painter, plot, yRange_, yName_, nullptr, QString());
  painter.setClipRect(plot.adjusted(1, 1, 0, 0));
  for (int t = 0; t < numTraces_; ++t) drawTrace(painter, plot, t);
}

// ---- Procedural surface ------------------------------------------------------

StripChart *FindStripChart(int panel, int control, int *error) {
  QWidget *widget = FindControl(panel, control, error);
  if (widget == nullptr) return nullptr;
  auto *chart = dynamic_cast<StripChart *>(widget);
  if (chart == nullptr) *error = UIE_BAD_CONTROL;
  return chart;
}

int PlotStripChart(int panel, int control, const void *array, int numberOfPoints, int startingIndex,
                   int skipCount, int dataType) {
  int error = 0;
  StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr) return error;
  if (array == nullptr || numberOfPoints < 0 || startingIndex < 0 || skipCount < 0 ||
      !IsNumberType(dataType)) {
    return UIE_BAD_VALUE_TYPE;
  }
  const auto stride = static_cast<std::size_t>(skipCount) + 1;
  chart->appendRecords(numberOfPoints / chart->numTraces(), [&](int k) {
    return NumberAt(array, dataType, static_cast<std::size_t>(startingIndex) + k * stride);
  });
  return 0;
}

int SetTraceAttribute(int panel, int control, int trace, int attribute, int value) {
  int error = 0;
  StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr) return error;
  if (attribute != ATTR_TRACE_COLOR) return UIE_BAD_ATTRIBUTE;
  return chart->setTraceColor(trace, ColorFromValue(value)) ? 0 : UIE_BAD_VALUE_TYPE;
}
