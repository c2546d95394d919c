#include "platform/ui/chartwidget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QVariant>

ChartWidget::ChartWidget(QWidget *parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);  // Tab reaches the chart and its menu keys
}

// The scope names the x axis again at every refresh: an unchanged name costs
// no repaint.
void ChartWidget::setXName(const QString &name) {
  if (name == xName_) return;
  xName_ = name;
  update();
}

void ChartWidget::setYName(const QString &name) {
  if (name == yName_) return;
  yName_ = name;
  update();
}

void ChartWidget::contextMenuEvent(QContextMenuEvent *event) {
  PopUpChartMenu(this, this, event->globalPos());
  event->accept();
}

void ChartWidget::keyPressEvent(QKeyEvent *event) {
  if (!PopUpChartMenuByKey(this, this, *event)) QWidget::keyPressEvent(event);
}

int ChartWidget::intProperty(const char *name, int fallback) const {
  bool ok = false;
  const int v = property(name).toInt(&ok);
  return ok ? v : fallback;
}

double ChartWidget::doubleProperty(const char *name, double fallback) const {
  bool ok = false;
  const double v = property(name).toDouble(&ok);
  return ok ? v : fallback;
}

void ChartWidget::takeAxisNames() {
  const QVariant x = property("xName");
  if (x.isValid()) setXName(x.toString());
  const QVariant y = property("yName");
  if (y.isValid()) setYName(y.toString());
}
