// Operator actions to callback events:
//   command button   left press or mnemonic -> LEFT_CLICK, clicked -> COMMIT
//   value controls   changed by the operator -> VAL_CHANGED, then COMMIT
//   panel close box  -> CLOSE to the panel callback, window stays open
// While the run-time holds callbacks back (callbackhold.h), each is made
// later, in order.
// Changes made by the program run under QSignalBlocker and raise nothing.
#include "platform/ui/events.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QSpinBox>

#include "platform/util/callbackhold.h"
#include "platform/util/utility.h"

namespace {

int gCallbackDepth = 0;
const char kCloseBoxName[] = "closeBoxFilter";

class CallbackScope {
 public:
  CallbackScope() { ++gCallbackDepth; }
  ~CallbackScope() { --gCallbackDepth; }
  CallbackScope(const CallbackScope &) = delete;
  CallbackScope &operator=(const CallbackScope &) = delete;
};

struct ControlTarget {
  QWidget *widget;
  int panel;
  int control;
  CtrlCallbackPtr callback;

  void send(int event) const {
    const ControlTarget target = *this;
    CallOrHold(widget, [target, event] {
      CallbackScope scope;
      target.callback(target.panel, target.control, event, nullptr, 0, 0);
    });
  }
  void sendChangeAndCommit() const {
    send(EVENT_VAL_CHANGED);
    send(EVENT_COMMIT);
  }
};

class CloseBoxFilter : public QObject {
 public:
  CloseBoxFilter(QObject *parent, int panel, PanelCallbackPtr callback)
      : QObject(parent), panel_(panel), callback_(callback) {
    setObjectName(QLatin1String(kCloseBoxName));
  }

  void setEndsWaits() { endsWaits_ = true; }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::Close) return QObject::eventFilter(watched, event);
    event->ignore();
    // At once, even while the callback is held: the wait under way ends now.
    if (endsWaits_) EndWaitsNow();
    if (callback_ != nullptr) {
      const int panel = panel_;
      const PanelCallbackPtr callback = callback_;
      CallOrHold(this, [panel, callback] {
        CallbackScope scope;
        callback(panel, EVENT_CLOSE, nullptr, 0, 0);
      });
    }
    return true;
  }

 private:
  int panel_;
  PanelCallbackPtr callback_;
  bool endsWaits_ = false;
};

void bindButton(QAbstractButton *button, const ControlTarget &target) {
  auto *command = dynamic_cast<CommandButton *>(button);
  if (!button->isCheckable()) {
    if (command != nullptr) command->onLeftPress = [target] { target.send(EVENT_LEFT_CLICK); };
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [target] { target.send(EVENT_COMMIT); });
    return;
  }
  // Toggle buttons, radio buttons, switches: `clicked` comes only from the operator.
  QObject::connect(button, &QAbstractButton::clicked, button,
                   [target] { target.sendChangeAndCommit(); });
}

void bindRing(QComboBox *ring, const ControlTarget &target) {
  // The operator's choice changes the index first, then activates the item;
  // choosing the item already selected only commits.
  QObject::connect(ring, &QComboBox::currentIndexChanged, ring,
                   [target] { target.send(EVENT_VAL_CHANGED); });
  QObject::connect(ring, &QComboBox::activated, ring, [target] { target.send(EVENT_COMMIT); });
}

void bindString(QLineEdit *edit, const ControlTarget &target) {
  QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, target] {
    if (!edit->isModified()) return;
    edit->setModified(false);
    target.sendChangeAndCommit();
  });
}

}  // namespace

bool CommandButton::event(QEvent *event) {
  const bool mnemonic = event->type() == QEvent::Shortcut && isEnabled() &&
                        !static_cast<QShortcutEvent *>(event)->isAmbiguous();
  const bool handled = QPushButton::event(event);
  if (mnemonic && onLeftPress) onLeftPress();
  return handled;
}

void CommandButton::mousePressEvent(QMouseEvent *event) {
  QPushButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && onLeftPress) onLeftPress();
}

void BindControlEvents(QWidget *widget, int panel, int control, CtrlCallbackPtr callback) {
  if (callback == nullptr) return;
  const ControlTarget target{widget, panel, control, callback};
  if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
    bindButton(button, target);
  } else if (auto *ring = qobject_cast<QComboBox *>(widget)) {
    bindRing(ring, target);
  } else if (auto *numeric = qobject_cast<QSpinBox *>(widget)) {
    // keyboardTracking is off: typing commits on Enter or when focus leaves.
    QObject::connect(numeric, &QSpinBox::valueChanged, numeric,
                     [target] { target.sendChangeAndCommit(); });
  } else if (auto *real = qobject_cast<QDoubleSpinBox *>(widget)) {
    QObject::connect(real, &QDoubleSpinBox::valueChanged, real,
                     [target] { target.sendChangeAndCommit(); });
  } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
    bindString(edit, target);
  }
}

void BindPanelEvents(QWidget *window, int panel, PanelCallbackPtr callback) {
  window->installEventFilter(new CloseBoxFilter(window, panel, callback));
}

bool SetCloseEndsWaits(QWidget *window) {
  auto *found =
      window->findChild<QObject *>(QLatin1String(kCloseBoxName), Qt::FindDirectChildrenOnly);
  if (found == nullptr) return false;
  static_cast<CloseBoxFilter *>(found)->setEndsWaits();
  return true;
}

bool InsideCallback() {
  return gCallbackDepth > 0;
}

void RunAsCallback(void (*action)()) {
  CallbackScope scope;
  action();
}
