// Panel window places, and what the settings keep of windows and controls.
#include "platform/ui/panelplace.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QWidget>
#include <string>

#include "platform/ui/registry.h"
#include "platform/util/settings.h"

namespace {

// A drag moves a window many times a second: the place is written once it
// has rested this long, or at once when the window is hidden.
constexpr int kGeometryRestMs = 500;

class GeometryKeeper : public QObject {
 public:
  GeometryKeeper(QWidget *window, const char *key) : QObject(window), window_(window), key_(key) {
    rest_.setSingleShot(true);
    rest_.setInterval(kGeometryRestMs);
    connect(&rest_, &QTimer::timeout, this, [this] { write(); });
    window->installEventFilter(this);
  }

  bool eventFilter(QObject * /*watched*/, QEvent *event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowStateChange:
        if (window_->isVisible()) rest_.start();
        break;
      case QEvent::Hide:
        if (rest_.isActive()) write();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void write() {
    rest_.stop();
    SettingsSetText(key_.c_str(), window_->saveGeometry().toBase64().constData());
  }

  QWidget *window_;
  std::string key_;
  QTimer rest_;
};

void WriteValue(int panel, int control, const std::string &key) {
  int value = 0;
  if (GetCtrlVal(panel, control, &value) == 0) SettingsSetInt(key.c_str(), value);
}

QWidget *PanelWindow(int panel) {
  return PanelTopLevel(panel);
}

bool OnSomeScreen(const QPoint &corner) {
  for (const QScreen *screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().contains(corner)) return true;
  }
  return false;
}

}  // namespace

int GetPanelPlace(int panel, int *top, int *left) {
  QWidget *window = PanelWindow(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  const QPoint corner = window->pos();
  if (top != nullptr) *top = corner.y();
  if (left != nullptr) *left = corner.x();
  return 0;
}

int SetPanelPlace(int panel, int top, int left) {
  QWidget *window = PanelWindow(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  if (OnSomeScreen(QPoint(left, top))) window->move(left, top);
  return 0;
}

int KeepPanelGeometry(int panel, const char *key) {
  QWidget *window = PanelWindow(panel);
  if (window == nullptr) return UIE_BAD_HANDLE;
  if (key == nullptr) return UIE_BAD_VALUE_TYPE;
  char kept[1024] = "";
  const bool restored = SettingsGetText(key, kept, sizeof kept) == 1 &&
                        window->restoreGeometry(QByteArray::fromBase64(kept));
  new GeometryKeeper(window, key);
  return restored ? 1 : 0;
}

int KeepCtrlValue(int panel, int control, const char *key) {
  int error = 0;
  QWidget *widget = FindControl(panel, control, &error);
  if (widget == nullptr) return error;
  if (key == nullptr) return UIE_BAD_VALUE_TYPE;
  const auto write = [panel, control, name = std::string(key)] {
    WriteValue(panel, control, name);
  };
  if (auto *ring = qobject_cast<QComboBox *>(widget)) {
    QObject::connect(ring, &QComboBox::currentIndexChanged, ring, write);
  } else if (auto *numeric = qobject_cast<QSpinBox *>(widget)) {
    QObject::connect(numeric, &QSpinBox::valueChanged, numeric, write);
  } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
    QObject::connect(button, &QAbstractButton::toggled, button, write);
  } else {
    return UIE_BAD_CONTROL;
  }
  return 0;
}
