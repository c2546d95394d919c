// Internal to the user-interface run-time: the context menu both chart
// widgets share: autoscale where the resource file offers it, and the export
// of the chart as an image or as data.
#pragma once

#include <QString>

class QKeyEvent;
class QPoint;
class QWidget;

class ChartActions {
 public:
  virtual ~ChartActions() = default;
  virtual bool autoscaled() const = 0;
  virtual void setAutoscaled(bool on) = 0;
  // A header row, then one row per point; comma-separated, "\n" line ends.
  virtual QString csvText() const = 0;
};

// Opens the menu at globalPos and returns at once, so a loop that polls
// events keeps running while the menu is open.
void PopUpChartMenu(QWidget *chart, ChartActions *actions, const QPoint &globalPos);

// The keyboard's way to the menu: the Menu key or Shift+F10 opens it at the
// chart's centre (unless Qt has opened it for the Menu key already). False
// for any other key.
bool PopUpChartMenuByKey(QWidget *chart, ChartActions *actions, const QKeyEvent &event);

// A CSV cell: the text, quoted when it holds a comma, a quote or a line end.
QString CsvField(const QString &text);
// The shortest text that reads back as the same double.
QString CsvNumber(double value);
