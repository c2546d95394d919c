// Keeps the closed ring from changing its value by wheel or keyboard.
#include "platform/ui/listchoice.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QObject>

#include "platform/ui/registry.h"

namespace {

// Keys that open the list, move the focus or leave; every other key (arrows,
// page keys, letters of the keyboard search) would change the closed ring.
bool KeyKeepsValue(const QKeyEvent *key) {
  if (key->modifiers() & Qt::AltModifier) return true;  // Alt+Down opens the list
  switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Space:
    case Qt::Key_F4:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return true;
    default:
      return false;
  }
}

class ClosedRingGuard : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Wheel) return true;
    if (event->type() == QEvent::KeyPress && !KeyKeepsValue(static_cast<QKeyEvent *>(event))) {
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

int SetRingChoiceOnlyFromList(int panel, int control) {
  int error = 0;
  auto *ring = ControlAs<QComboBox>(FindControl(panel, control, &error));
  if (ring == nullptr) return error < 0 ? error : UIE_BAD_ATTRIBUTE;
  ring->installEventFilter(new ClosedRingGuard(ring));
  ring->setFocusPolicy(Qt::StrongFocus);  // no focus by wheel either
  return 0;
}
