#include "platform/ui/indicatorvalues.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <vector>

namespace {

struct Indicator {
  QPointer<QWidget> widget;
  double value = 0.0;
  bool pending = false;
};

// One entry per indicator ever set, kept so that a live loop allocates
// nothing; entries of closed panels go at the next pass.
std::vector<Indicator> gIndicators;
ShowNumber gShow = nullptr;
bool gPassPosted = false;

Indicator *entryOf(const QWidget *widget) {
  for (Indicator &entry : gIndicators) {
    if (entry.widget == widget) return &entry;
  }
  return nullptr;
}

void show(Indicator *entry) {
  if (!entry->pending) return;
  entry->pending = false;
  if (!entry->widget.isNull()) gShow(entry->widget.data(), entry->value);
}

void showPending() {
  gPassPosted = false;
  std::erase_if(gIndicators, [](const Indicator &entry) { return entry.widget.isNull(); });
  // By index: showing a value must not be able to invalidate the walk.
  for (std::size_t i = 0; i < gIndicators.size(); ++i) show(&gIndicators[i]);
}

// Posted at normal priority, the pass runs before the window's repaint,
// which Qt posts at low priority: both changes land in one frame.
void postPass() {
  if (gPassPosted) return;
  gPassPosted = true;
  QMetaObject::invokeMethod(QCoreApplication::instance(), showPending, Qt::QueuedConnection);
}

}  // namespace

bool DeferIndicatorValue(QWidget *widget, double value, ShowNumber show) {
  const auto *box = qobject_cast<const QAbstractSpinBox *>(widget);
  if (box == nullptr || !box->isReadOnly() || QCoreApplication::instance() == nullptr) {
    return false;
  }
  Indicator *entry = entryOf(widget);
  if (entry == nullptr) entry = &gIndicators.emplace_back(Indicator{widget, 0.0, false});
  entry->value = value;
  entry->pending = true;
  gShow = show;
  postPass();
  return true;
}

void ShowPendingIndicatorValue(QWidget *widget) {
  if (Indicator *entry = entryOf(widget)) show(entry);
}
