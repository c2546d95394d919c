// Internal to the user-interface run-time: what the strip chart and the XY
// graph share as widgets: opaque painting, focus, the context menu by mouse
// and by key, the axis names and the settings they read from the resource file.
#pragma once

#include <QString>
#include <QWidget>

#include "platform/ui/chartmenu.h"
#include "platform/ui/registry.h"
#include "platform/ui/userint.h"

class ChartWidget : public QWidget, public ChartActions {
 public:
  explicit ChartWidget(QWidget *parent);

  // Takes the chart's settings from the resource file's properties.
  virtual void configureFromProperties() = 0;

  void setXName(const QString &name);
  QString xName() const { return xName_; }
  void setYName(const QString &name);
  QString yName() const { return yName_; }

 protected:
  void contextMenuEvent(QContextMenuEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

  // A number the resource file gives, or fallback where it gives none.
  int intProperty(const char *name, int fallback) const;
  double doubleProperty(const char *name, double fallback) const;
  // xName and yName, where the resource file gives them.
  void takeAxisNames();

 private:
  QString xName_;
  QString yName_;
};

// The chart control of a panel as Chart, or nullptr with *error set.
template <class Chart>
Chart *FindChart(int panel, int control, int *error) {
  QWidget *widget = FindControl(panel, control, error);
  if (widget == nullptr) return nullptr;
  auto *chart = dynamic_cast<Chart *>(widget);
  if (chart == nullptr) *error = UIE_BAD_CONTROL;
  return chart;
}
