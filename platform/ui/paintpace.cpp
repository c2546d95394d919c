// Paint pacing: a window repaints at most once a frame time. A loop that
// updates its charts faster than a screen shows them (the live scope against
// a fast controller) then spends its time on the line, not on drawing; the
// last state is always drawn, one frame time later at most.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/ui/runtime.h"

namespace {

constexpr qint64 kFrameMs = 16;

class PaintPacer : public QObject {
 public:
  explicit PaintPacer(QObject *parent) : QObject(parent) { clock_.start(); }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::UpdateRequest || !watched->isWidgetType()) return false;
    auto *window = static_cast<QWidget *>(watched);
    if (!window->isWindow()) return false;
    const qint64 now = clock_.elapsed();
    const QVariant last = window->property(kPaintedAt);
    const qint64 due = last.isValid() ? last.toLongLong() + kFrameMs : now;
    if (now >= due) {
      window->setProperty(kPaintedAt, now);
      return false;
    }
    // The window's repaint manager posts no further request until this one
    // is handled: one request comes back when the frame time is over.
    QTimer::singleShot(static_cast<int>(due - now), window, [window] {
      QCoreApplication::postEvent(window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });
    return true;
  }

 private:
  static constexpr const char *kPaintedAt = "rvPaintedAtMs";
  QElapsedTimer clock_;
};

}  // namespace

void InstallPaintPacing(QApplication *app) {
  app->installEventFilter(new PaintPacer(app));
}
