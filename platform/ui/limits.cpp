#include "platform/ui/limits.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "platform/ui/userint.h"

namespace {

int RingLimit(const QComboBox &ring, bool upper, int *value) {
  if (ring.count() == 0) return UIE_BAD_ATTRIBUTE;
  int limit = ring.itemData(0).toInt();
  for (int i = 1; i < ring.count(); ++i) {
    const int item = ring.itemData(i).toInt();
    limit = upper ? std::max(limit, item) : std::min(limit, item);
  }
  *value = limit;
  return 0;
}

}  // namespace

int GetValueLimit(const QWidget *widget, bool upper, int *value) {
  if (const auto *numeric = qobject_cast<const QSpinBox *>(widget)) {
    *value = upper ? numeric->maximum() : numeric->minimum();
  } else if (const auto *real = qobject_cast<const QDoubleSpinBox *>(widget)) {
    *value = static_cast<int>(std::lround(upper ? real->maximum() : real->minimum()));
  } else if (const auto *ring = qobject_cast<const QComboBox *>(widget)) {
    return RingLimit(*ring, upper, value);
  } else {
    return UIE_BAD_ATTRIBUTE;
  }
  return 0;
}
