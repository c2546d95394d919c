// Program-wide keys. A dialog keeps its keys, and so does an open list or
// menu: Esc there closes it and ends nothing else.
#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>

#include "platform/ui/events.h"
#include "platform/ui/registry.h"
#include "platform/ui/userint.h"

namespace {

// Claims every key for an open popup before the program's keys see it.
class PopupKeepsItsKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget() != nullptr) {
      event->accept();
    }
    return QObject::eventFilter(watched, event);
  }
};

void KeepPopupKeys() {
  static QPointer<PopupKeepsItsKeys> filter;
  if (!filter.isNull()) return;
  filter = new PopupKeepsItsKeys(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(filter);
}

QShortcut *MakeKey(int panel, const char *key, int *error) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window.isNull()) {
    *error = UIE_BAD_HANDLE;
    return nullptr;
  }
  const QKeySequence sequence =
      QKeySequence::fromString(QString::fromUtf8(key != nullptr ? key : ""));
  if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
    *error = UIE_BAD_VALUE_TYPE;
    return nullptr;
  }
  KeepPopupKeys();
  return new QShortcut(sequence, record->window, nullptr, nullptr, Qt::ApplicationShortcut);
}

}  // namespace

int SetProgramKey(int panel, const char *key, KeyActionPtr action) {
  if (action == nullptr) return UIE_BAD_VALUE_TYPE;
  int error = 0;
  QShortcut *shortcut = MakeKey(panel, key, &error);
  if (shortcut == nullptr) return error;
  QObject::connect(shortcut, &QShortcut::activated, shortcut, [action] { RunAsCallback(action); });
  return 0;
}

int SetProgramCloseKey(int panel, const char *key) {
  int error = 0;
  QShortcut *shortcut = MakeKey(panel, key, &error);
  if (shortcut == nullptr) return error;
  QWidget *window = FindPanel(panel)->window;
  QObject::connect(shortcut, &QShortcut::activated, window, [window] { window->close(); });
  return 0;
}
