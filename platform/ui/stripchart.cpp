#include "platform/ui/stripchart.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QVariant>

#include "platform/ui/color.h"
#include "platform/ui/numbers.h"
#include "platform/ui/registry.h"
#include "platform/ui/text.h"

namespace {

// Distinct defaults, so traces the program does not colour stay apart.
const std::array<QColor, kMaxTraces> kDefaultTraceColors = {
    QColor(0xFF, 0x00, 0x00), QColor(0x00, 0xA0, 0x00), QColor(0x00, 0x00, 0xFF),
    QColor(0x00, 0x00, 0x00), QColor(0xC0, 0x00, 0xC0), QColor(0x00, 0xA0, 0xA0),
    QColor(0xFF, 0x80, 0x00), QColor(0x80, 0x80, 0x80)};

// One pixel: the raster engine draws such lines, dashed ones too, without
// stroking them into polygons, which keeps a live chart's repaint cheap.
constexpr double kTraceWidth = 1.0;

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
  setFocusPolicy(Qt::StrongFocus);  // Tab reaches the chart and its menu keys
}

void StripChart::configureFromProperties() {
  setNumTraces(intProperty(*this, "numTraces", numTraces_));
  setPointsPerScreen(intProperty(*this, "pointsPerScreen", pointsPerScreen_));
  setYRange(doubleProperty(*this, "yMin", yRange_.min), doubleProperty(*this, "yMax", yRange_.max));
  const QVariant name = property("yName");
  if (name.isValid()) setYName(name.toString());
  const QVariant xName = property("xName");
  if (xName.isValid()) setXName(xName.toString());
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

bool StripChart::setLineStyle(int trace, int style) {
  if (trace < 1 || trace > kMaxTraces) return false;
  if (style != VAL_SOLID && style != VAL_DASH && style != VAL_DOT) return false;
  lineStyles_[static_cast<std::size_t>(trace - 1)] = style;
  update();
  return true;
}

int StripChart::lineStyle(int trace) const {
  return trace >= 1 && trace <= kMaxTraces ? lineStyles_[static_cast<std::size_t>(trace - 1)] : -1;
}

bool StripChart::setTraceName(int trace, const QString &name) {
  if (trace < 1 || trace > kMaxTraces) return false;
  QString &current = names_[static_cast<std::size_t>(trace - 1)];
  if (current == name) return true;  // the scope names its traces again at every source change
  current = name;
  update();
  return true;
}

QString StripChart::traceName(int trace) const {
  return trace >= 1 && trace <= kMaxTraces ? names_[static_cast<std::size_t>(trace - 1)]
                                           : QString();
}

bool StripChart::setXStep(double step) {
  if (!(step > 0.0)) return false;
  if (step == xStep_) return true;
  xStep_ = step;
  update();
  return true;
}

void StripChart::setXName(const QString &name) {
  if (name == xName_) return;
  xName_ = name;
  update();
}

void StripChart::setAutoscaled(bool on) {
  autoscale_ = on;
  update();
}

AxisRange StripChart::shownYRange() const {
  const int shown = pointsShown();
  if (!autoscale_ || shown == 0) return yRange_;
  double low = shownPoint(1, 0);
  double high = low;
  for (int t = 1; t <= numTraces_; ++t) {
    for (int i = 0; i < shown; ++i) {
      low = std::min(low, shownPoint(t, i));
      high = std::max(high, shownPoint(t, i));
    }
  }
  return PaddedRange(low, high);
}

// Point i (0 = oldest shown) on the x axis; the newest lies at 0.
double StripChart::xOfPoint(int i) const {
  return (i - (std::max(pointsShown(), 1) - 1)) * xStep_;
}

AxisRange StripChart::xRange() const {
  return {xOfPoint(0), xOfPoint(pointsPerScreen_ - 1)};
}

QString StripChart::csvText() const {
  QString csv = CsvField(xName_.isEmpty() ? QStringLiteral("Point") : xName_);
  for (int t = 1; t <= numTraces_; ++t) {
    const QString name = traceName(t);
    csv += QLatin1Char(',') + CsvField(name.isEmpty() ? QStringLiteral("Trace %1").arg(t) : name);
  }
  csv += QLatin1Char('\n');
  for (int i = 0; i < pointsShown(); ++i) {
    csv += QString::number(xOfPoint(i), 'g', 6);
    for (int t = 1; t <= numTraces_; ++t) csv += QLatin1Char(',') + CsvNumber(shownPoint(t, i));
    csv += QLatin1Char('\n');
  }
  return csv;
}

int StripChart::pointsShown() const {
  return std::min(stored_, pointsPerScreen_);
}

double StripChart::shownPoint(int trace, int i) const {
  const int shown = pointsShown();
  const int slot = (head_ - shown + i + kMaxPointsPerScreen) % kMaxPointsPerScreen;
  return sample(trace - 1, slot);
}

void StripChart::drawTrace(QPainter &painter, const QRect &plot, const AxisRange &y,
                           int traceIndex) {
  const int shown = pointsShown();
  const double step = static_cast<double>(plot.width()) / (pointsPerScreen_ - 1);
  for (int i = 0; i < shown; ++i) {
    const double py = AxisPixel(y, shownPoint(traceIndex + 1, i), plot.bottom(), plot.top());
    polyline_[static_cast<std::size_t>(i)] = QPointF(plot.left() + i * step, py);
  }
  const auto index = static_cast<std::size_t>(traceIndex);
  QPen pen(colors_[index], kTraceWidth);
  pen.setStyle(PenStyleOf(lineStyles_[index]));
  painter.setPen(pen);
  painter.drawPolyline(polyline_.data(), shown);
}

int StripChart::legendEntries(std::array<LegendEntry, kMaxTraces> *entries) const {
  int count = 0;
  for (int t = 0; t < numTraces_; ++t) {
    const auto index = static_cast<std::size_t>(t);
    if (names_[index].isEmpty()) continue;
    (*entries)[static_cast<std::size_t>(count++)] =
        LegendEntry{names_[index], colors_[index], PenStyleOf(lineStyles_[index]), kTraceWidth};
  }
  return count;
}

FrameContent StripChart::frameContent() const {
  FrameContent content;
  content.size = size();
  content.pixelRatio = devicePixelRatioF();
  content.font = font();
  content.background = palette().window().color();
  content.legendCount = legendEntries(&content.legend);
  content.axes = {shownYRange(), yName_, xRange(), xName_};
  return content;
}

void StripChart::repaintForNewPoints() {
  // Once the screen is full the x axis stays; a fixed y range stays too.
  const bool frameStays = !autoscale_ && stored_ > pointsPerScreen_;
  if (frameStays && frame_.plot().isValid()) {
    update(frame_.plot());
  } else {
    update();
  }
}

void StripChart::paintEvent(QPaintEvent *event) {
  const FrameContent content = frameContent();
  if (!frame_.shows(content) && !event->rect().contains(rect())) update();  // the rest follows
  QPainter painter(this);
  if (frame_.shows(content) && frame_.plot().contains(event->rect())) {
    DrawPlotArea(painter, frame_.plot());  // new points only: the rest of the frame stands
  } else {
    frame_.draw(painter, content);
    DrawFocusFrame(painter, *this);
  }
  const QRect plot = frame_.plot();
  painter.setClipRect(plot.adjusted(1, 1, 0, 0), Qt::IntersectClip);
  for (int t = 0; t < numTraces_; ++t) drawTrace(painter, plot, content.axes.y, t);
}

void StripChart::contextMenuEvent(QContextMenuEvent *event) {
  PopUpChartMenu(this, this, event->globalPos());
  event->accept();
}

void StripChart::keyPressEvent(QKeyEvent *event) {
  if (!PopUpChartMenuByKey(this, this, *event)) QWidget::keyPressEvent(event);
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
  bool ok = false;
  if (attribute == ATTR_TRACE_COLOR) {
    ok = chart->setTraceColor(trace, ColorFromValue(value));
  } else if (attribute == ATTR_LINE_STYLE) {
    ok = chart->setLineStyle(trace, value);
  } else {
    return UIE_BAD_ATTRIBUTE;
  }
  return ok ? 0 : UIE_BAD_VALUE_TYPE;
}

int SetTraceAttribute(int panel, int control, int trace, int attribute, const char *value) {
  int error = 0;
  StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr) return error;
  if (attribute != ATTR_TRACE_LG_TEXT) return UIE_BAD_ATTRIBUTE;
  if (value == nullptr) return UIE_BAD_VALUE_TYPE;
  return chart->setTraceName(trace, TextFromBytes(value)) ? 0 : UIE_BAD_VALUE_TYPE;
}

int SetStripChartXStep(int panel, int control, double step) {
  int error = 0;
  StripChart *chart = FindStripChart(panel, control, &error);
  if (chart == nullptr) return error;
  return chart->setXStep(step) ? 0 : UIE_BAD_VALUE_TYPE;
}
