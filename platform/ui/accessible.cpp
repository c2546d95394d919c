// Accessible names, help texts and the tab order of loaded panels.
#include "platform/ui/accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "platform/ui/registry.h"
#include "platform/ui/screenreader.h"

namespace {

constexpr char kNamedByText[] = "rvNamedByText";
constexpr char kHelp[] = "rvHelp";
constexpr char kStatusBar[] = "rvStatusBar";

bool ByPlace(const QWidget *a, const QWidget *b) {
  if (a->y() != b->y()) return a->y() < b->y();
  return a->x() < b->x();
}

// The focusable controls under `parent`; a group's children by place.
void CollectByPlace(QWidget *parent, std::vector<QWidget *> *chain) {
  std::vector<QWidget *> children;
  for (QObject *child : parent->children()) {
    auto *widget = qobject_cast<QWidget *>(child);
    if (widget != nullptr && !widget->isWindow()) children.push_back(widget);
  }
  std::stable_sort(children.begin(), children.end(), ByPlace);
  for (QWidget *widget : children) {
    if (widget->focusPolicy() & Qt::TabFocus) {
      chain->push_back(widget);
    } else {
      CollectByPlace(widget, chain);  // a group: its controls in their places
    }
  }
}

// The text a text indicator shows; false for a control the operator edits.
bool ShownText(const QWidget *widget, QString *text) {
  if (const auto *label = qobject_cast<const QLabel *>(widget)) {
    *text = label->text();
  } else if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
    *text = edit->text();
    return edit->isReadOnly();
  } else if (const auto *box = qobject_cast<const QPlainTextEdit *>(widget)) {
    *text = box->toPlainText();
    return box->isReadOnly();
  } else {
    return false;
  }
  return true;
}

QAccessibleInterface *StatusBarOnly(const QString &, QObject *object) {
  auto *widget = qobject_cast<QWidget *>(object);
  if (widget == nullptr || !widget->property(kStatusBar).toBool()) return nullptr;
  return new QAccessibleWidget(widget, QAccessible::StatusBar);  // named by its accessible name
}

}  // namespace

void NameByShownText(QWidget *widget) {
  QString text;
  if (!widget->property(kNamedByText).toBool() || !ShownText(widget, &text)) return;
  widget->setAccessibleName(text);
}

void SetControlHelp(QWidget *widget, const QString &help) {
  widget->setProperty(kHelp, help);
  widget->setToolTip(help);
  widget->setAccessibleDescription(help);
}

int SetCtrlAccessibleName(int panel, int control, const char *name) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  const QString given = QString::fromUtf8(name != nullptr ? name : "");
  QString text;
  if (ShownText(widget, &text)) {
    widget->setProperty(kNamedByText, true);
    widget->setAccessibleDescription(given);
    NameByShownText(widget);
  } else {
    widget->setAccessibleName(given);
  }
  return 0;
}

int SetCtrlStatusBarRole(int panel, int control) {
  int error = 0;
  auto *label = ControlAs<QLabel>(FindControl(panel, control, &error));
  if (label == nullptr) return error != 0 ? error : UIE_BAD_CONTROL;
  QAccessible::installFactory(StatusBarOnly);
  label->setProperty(kStatusBar, true);
  // An interface Qt made for the label before goes, so the next one is ours.
  QAccessibleInterface *made = QAccessible::queryAccessibleInterface(label);
  if (made != nullptr && made->role() != QAccessible::StatusBar) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
  return 0;
}

int SetPanelTabOrderByLayout(int panel) {
  PanelRecord *record = FindPanel(panel);
  if (record == nullptr || record->window.isNull()) return UIE_BAD_HANDLE;
  std::vector<QWidget *> chain;
  CollectByPlace(record->window, &chain);
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
  return 0;
}
