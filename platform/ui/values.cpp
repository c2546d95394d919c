// Control values. Numeric controls, rings (by item value), and two-state
// controls (toggle, radio, switch) have a number; text messages, strings and
// text boxes have a text. The program's writes raise no events.
#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
#include <climits>
#include <cmath>
#include <utility>

#include "platform/ui/editmark.h"
#include "platform/ui/indicatorvalues.h"
#include "platform/ui/registry.h"
#include "platform/ui/screenreader.h"
#include "platform/ui/testing.h"
#include "platform/ui/text.h"
#include "platform/ui/userint.h"
#include "platform/ui/widgets.h"

namespace {

int readNumber(QWidget *widget, double *value) {
  ShowPendingIndicatorValue(widget);
  if (auto *numeric = qobject_cast<QSpinBox *>(widget)) {
    *value = numeric->value();
  } else if (auto *real = qobject_cast<QDoubleSpinBox *>(widget)) {
    *value = real->value();
  } else if (auto *ring = qobject_cast<QComboBox *>(widget)) {
    if (ring->currentIndex() < 0) return UIE_BAD_VALUE_TYPE;
    *value = ring->currentData().toInt();
  } else if (auto *button = qobject_cast<QAbstractButton *>(widget);
             button != nullptr && button->isCheckable()) {
    *value = button->isChecked() ? 1 : 0;
  } else {
    return UIE_BAD_VALUE_TYPE;
  }
  return 0;
}

int clampToInt(double value) {
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(std::lround(value));
}

// An indicator that shows the value already is left alone: a spin box lays
// out and repaints its text at every setValue, and live values are set many
// times a second, most of them unchanged. (An input is always set: the
// operator may have typed over what it shows.)
template <class Box, class T>
bool showsAlready(const Box &box, T value) {
  return box.isReadOnly() && box.value() == value;
}

void showNumber(QWidget *widget, double value) {
  const QSignalBlocker blocker(widget);
  if (auto *numeric = qobject_cast<QSpinBox *>(widget)) {
    const int whole = clampToInt(value);  // the control clamps to its range
    if (!showsAlready(*numeric, whole)) numeric->setValue(whole);
  } else if (auto *real = qobject_cast<QDoubleSpinBox *>(widget)) {
    if (!showsAlready(*real, value)) real->setValue(value);
  }
}

int writeNumber(QWidget *widget, double value) {
  const QSignalBlocker blocker(widget);
  if (qobject_cast<QAbstractSpinBox *>(widget) != nullptr) {
    if (!DeferIndicatorValue(widget, value, showNumber)) showNumber(widget, value);
  } else if (auto *ring = qobject_cast<QComboBox *>(widget)) {
    const int index = ring->findData(clampToInt(value));
    if (index < 0) return UIE_BAD_VALUE_TYPE;
    ring->setCurrentIndex(index);
  } else if (auto *button = qobject_cast<QAbstractButton *>(widget);
             button != nullptr && button->isCheckable()) {
    button->setChecked(value != 0);
  } else {
    return UIE_BAD_VALUE_TYPE;
  }
  return 0;
}

template <class T>
int getNumber(int panel, int control, T *value) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  double number = 0.0;
  if (const int result = readNumber(widget, &number); result != 0) return result;
  *value = static_cast<T>(static_cast<long long>(std::llround(number)));
  return 0;
}

int setNumber(int panel, int control, double value) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  const int result = writeNumber(widget, value);
  RefreshEditMark(widget);
  return result;
}

bool readText(const QWidget *widget, QString *text) {
  if (auto *label = qobject_cast<const QLabel *>(widget)) {
    *text = label->text();
  } else if (auto *edit = qobject_cast<const QLineEdit *>(widget)) {
    *text = edit->text();
  } else if (auto *box = qobject_cast<const QPlainTextEdit *>(widget)) {
    *text = box->toPlainText();
  } else {
    return false;
  }
  return true;
}

bool writeText(QWidget *widget, const QString &text) {
  const QSignalBlocker blocker(widget);
  if (auto *label = qobject_cast<QLabel *>(widget)) {
    label->setText(text);
    FitAutoSizedLabel(label);
  } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
    edit->setText(text);
    edit->setModified(false);
  } else if (auto *box = qobject_cast<QPlainTextEdit *>(widget)) {
    box->setPlainText(text);
  } else {
    return false;
  }
  NameByShownText(widget);
  return true;
}

}  // namespace

int GetCtrlVal(int panel, int control, unsigned short *value) {
  return getNumber(panel, control, value);
}
int GetCtrlVal(int panel, int control, int *value) {
  return getNumber(panel, control, value);
}
int GetCtrlVal(int panel, int control, unsigned int *value) {
  return getNumber(panel, control, value);
}

int GetCtrlVal(int panel, int control, double *value) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  return readNumber(widget, value);
}

int GetCtrlValText(int panel, int control, char *buffer, std::size_t size) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  QString text;
  if (!readText(widget, &text)) return UIE_BAD_VALUE_TYPE;
  CopyToBuffer(BytesOfShownText(widget, text), buffer, size);
  return 0;
}

int SetCtrlVal(int panel, int control, int value) {
  return setNumber(panel, control, value);
}
int SetCtrlVal(int panel, int control, unsigned int value) {
  return setNumber(panel, control, value);
}
int SetCtrlVal(int panel, int control, double value) {
  return setNumber(panel, control, value);
}

namespace {
TextObserver gTextObserver;
}  // namespace

void SetTextObserver(TextObserver observer) {
  gTextObserver = std::move(observer);
}

int SetCtrlVal(int panel, int control, const char *text) {
  if (gTextObserver) gTextObserver(panel, control, text);
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  const QString shown = TextFromBytes(text);
  if (!writeText(widget, shown)) return UIE_BAD_VALUE_TYPE;
  RememberShownBytes(widget, shown, text);
  return 0;
}

int ReplaceTextBoxLine(int panel, int control, int line, const char *text) {
  int error = 0;
  auto *box = ControlAs<QPlainTextEdit>(FindControl(panel, control, &error));
  if (box == nullptr) return error != 0 ? error : UIE_BAD_VALUE_TYPE;
  const QTextBlock block = box->document()->findBlockByNumber(line);
  if (line < 0 || !block.isValid()) return UIE_BAD_VALUE_TYPE;
  const QSignalBlocker blocker(box);
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(TextFromBytes(text));
  NameByShownText(box);
  return 0;
}

int ResetTextBox(int panel, int control, const char *text) {
  int error = 0;
  auto *box = ControlAs<QPlainTextEdit>(FindControl(panel, control, &error));
  if (box == nullptr) return error != 0 ? error : UIE_BAD_VALUE_TYPE;
  const QString shown = TextFromBytes(text);
  writeText(box, shown);
  RememberShownBytes(box, shown, text);
  return 0;
}
