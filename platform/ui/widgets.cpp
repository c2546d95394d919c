#include "platform/ui/widgets.h"

#include <QVariant>

namespace {
constexpr char kAutoSized[] = "rvAutoSized";
}

void MarkAutoSized(QLabel *label) {
  label->setProperty(kAutoSized, true);
}

void FitAutoSizedLabel(QLabel *label) {
  if (label->property(kAutoSized).toBool()) label->adjustSize();
}

void FitAutoSized(QWidget *widget) {
  if (auto *label = qobject_cast<QLabel *>(widget)) FitAutoSizedLabel(label);
}
