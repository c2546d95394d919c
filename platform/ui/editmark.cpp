// Marks of inputs whose value differs from a reference value: a tint behind
// the value and a line added to the tooltip. Nothing else of the control
// changes: not its value, its range, its own tooltip or its events.
#include "platform/ui/editmark.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHash>
#include <QHelpEvent>
#include <QSpinBox>
#include <QToolTip>

#include "platform/ui/userint.h"

namespace {

const QColor kTint(0xFF, 0xE3, 0x8C);  // light amber, readable under black text

class EditMark;
QHash<const QWidget *, EditMark *> gMarks;

bool ValueOf(const QWidget *control, int *value) {
  if (auto *numeric = qobject_cast<const QSpinBox *>(control)) {
    *value = numeric->value();
  } else if (auto *real = qobject_cast<const QDoubleSpinBox *>(control)) {
    *value = static_cast<int>(real->value());
  } else if (auto *ring = qobject_cast<const QComboBox *>(control)) {
    if (ring->currentIndex() < 0) return false;
    *value = ring->currentData().toInt();
  } else {
    return false;
  }
  return true;
}

// A child of the control: goes with it. Watches the operator's changes and
// the control's tooltip event.
class EditMark : public QObject {
 public:
  explicit EditMark(QWidget *control) : QObject(control), control_(control) {
    gMarks.insert(control, this);
    control->installEventFilter(this);
    if (auto *numeric = qobject_cast<QSpinBox *>(control)) {
      connect(numeric, &QSpinBox::valueChanged, this, [this] { refresh(); });
    } else if (auto *real = qobject_cast<QDoubleSpinBox *>(control)) {
      connect(real, &QDoubleSpinBox::valueChanged, this, [this] { refresh(); });
    } else if (auto *ring = qobject_cast<QComboBox *>(control)) {
      connect(ring, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    }
  }
  ~EditMark() override { gMarks.remove(control_); }
  EditMark(const EditMark &) = delete;
  EditMark &operator=(const EditMark &) = delete;

  void setReference(int reference) {
    reference_ = reference;
    refresh();
  }
  void setLine(const QString &line) { line_ = line; }
  bool marked() const { return marked_; }
  const QString &line() const { return line_; }

  void refresh() {
    int value = 0;
    const bool differs = reference_ >= 0 && ValueOf(control_, &value) && value != reference_;
    if (differs == marked_) return;
    marked_ = differs;
    if (marked_) {
      unmarked_ = control_->palette();
      QPalette tinted = unmarked_;
      tinted.setColor(QPalette::Base, kTint);
      tinted.setColor(QPalette::Button, kTint);
      control_->setPalette(tinted);
    } else {
      control_->setPalette(unmarked_);
    }
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::ToolTip || !marked_) return QObject::eventFilter(watched, event);
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), ToolTipWithEditMark(control_),
                       control_);
    return true;
  }

 private:
  QWidget *control_;
  int reference_ = -1;
  QString line_;
  bool marked_ = false;
  QPalette unmarked_;
};

EditMark *MarkOf(QWidget *control, bool make) {
  EditMark *mark = gMarks.value(control, nullptr);
  if (mark == nullptr && make) mark = new EditMark(control);
  return mark;
}

bool Markable(const QWidget *control) {
  return qobject_cast<const QAbstractSpinBox *>(control) != nullptr ||
         qobject_cast<const QComboBox *>(control) != nullptr;
}

}  // namespace

int SetEditMarkReference(QWidget *control, int reference) {
  if (!Markable(control)) return UIE_BAD_ATTRIBUTE;
  EditMark *mark = MarkOf(control, reference >= 0);
  if (mark != nullptr) mark->setReference(reference < 0 ? -1 : reference);
  return 0;
}

int SetEditMarkText(QWidget *control, const QString &line) {
  if (!Markable(control)) return UIE_BAD_ATTRIBUTE;
  MarkOf(control, true)->setLine(line);
  return 0;
}

bool EditMarked(const QWidget *control) {
  const EditMark *mark = gMarks.value(control, nullptr);
  return mark != nullptr && mark->marked();
}

void RefreshEditMark(QWidget *control) {
  if (EditMark *mark = gMarks.value(control, nullptr)) mark->refresh();
}

QString ToolTipWithEditMark(const QWidget *control) {
  const EditMark *mark = gMarks.value(control, nullptr);
  QString tip = control->toolTip();
  if (mark == nullptr || !mark->marked() || mark->line().isEmpty()) return tip;
  return tip.isEmpty() ? mark->line() : tip + QLatin1Char('\n') + mark->line();
}
