// Panel windows: the scrolling view of a resizable panel, and a place on the
// screen where the window's frame is whole. (A top-level widget's move()
// places its frame; setGeometry() would place the client area and leave the
// title bar above the screen.)
#include "platform/ui/panelview.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/ui/anchors.h"

namespace {

const char kFitted[] = "rvimFrameFitted";

QRect CenteredIn(const QRect &area, const QSize &size) {
  return QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

QRect AvailableArea(const QWidget *window) {
  const QScreen *screen =
      window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), window->size());
}

// Fits the frame onto the screen once the window manager has put its frame
// around the window (known at the first exposure, not before).
class FitWhenFramed : public QObject {
 public:
  explicit FitWhenFramed(QWidget *window) : QObject(window), window_(window) {}

  bool eventFilter(QObject *watched, QEvent *event) override {
    auto *handle = qobject_cast<QWindow *>(watched);
    if (event->type() != QEvent::Expose || handle == nullptr || !handle->isExposed()) return false;
    handle->removeEventFilter(this);
    const Qt::WindowStates whole = Qt::WindowMaximized | Qt::WindowFullScreen;
    if ((window_->windowState() & whole) == 0) {
      FitWindowOnto(window_, AvailableArea(window_), handle->frameMargins());
    }
    deleteLater();
    return false;
  }

 private:
  QWidget *window_;
};

void Place(QWidget *window, const QRect &client, const QMargins &frame) {
  window->resize(client.size());
  window->move(client.topLeft() - QPoint(frame.left(), frame.top()));
}

QWidget *ScrollingView(QWidget *panel) {
  auto *view = new QScrollArea;
  view->setFrameShape(QFrame::NoFrame);
  view->setFocusPolicy(Qt::NoFocus);  // the panel's controls take the focus
  view->setWindowTitle(panel->windowTitle());
  const QSize drawn = panel->size();
  view->setWidget(panel);
  view->setWidgetResizable(true);
  view->resize(drawn);
  return view;
}

}  // namespace

QRect FitWindow(const QRect &area, const QMargins &frame, const QRect &wanted) {
  const QSize room = area.size().shrunkBy(frame).expandedTo(QSize(1, 1));
  QRect outer = QRect(wanted.topLeft(), wanted.size().boundedTo(room)).marginsAdded(frame);
  outer.moveTo(std::clamp(outer.x(), area.x(), area.x() + area.width() - outer.width()),
               std::clamp(outer.y(), area.y(), area.y() + area.height() - outer.height()));
  return outer.marginsRemoved(frame);
}

void FitWindowOnto(QWidget *window, const QRect &area, const QMargins &frame) {
  Place(window, FitWindow(area, frame, window->geometry()), frame);
}

QWidget *MakePanelWindow(QWidget *panel) {
  SetPanelSizing(panel);
  QWidget *window = panel;
  if (panel->property("resizable").toBool()) {
    window = ScrollingView(panel);
  } else {
    const QSize drawn = panel->size();
    panel->setParent(nullptr, Qt::Window);
    panel->resize(drawn);
  }
  // The frame is not known before the window is shown: placed for none now,
  // fitted again once framed.
  const QRect area = AvailableArea(window);
  Place(window, FitWindow(area, QMargins(), CenteredIn(area, window->size())), QMargins());
  window->hide();
  return window;
}

void ShowPanelWindow(QWidget *window) {
  if (!window->property(kFitted).toBool()) {
    window->setProperty(kFitted, true);
    window->winId();  // the native window, to watch its exposure
    window->windowHandle()->installEventFilter(new FitWhenFramed(window));
  }
  window->show();
}
