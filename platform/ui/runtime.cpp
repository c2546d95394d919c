// Run-time start and the event loop: the application object, one pass of
// event processing that sleeps briefly when idle, and the main loop.
#include "platform/ui/runtime.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFont>
#include <QThread>
#include <QTimer>
#include <memory>

#include "platform/ui/userint.h"
#include "platform/util/callbackhold.h"
#include "platform/util/waitprobe.h"

namespace {

// Upper bound of one idle wait; short enough to keep polling loops paced,
// long enough that an idle loop costs next to nothing.
constexpr int kIdleWaitMs = 10;

struct Runtime {
  QApplication *app = nullptr;
  QTimer *wakeTimer = nullptr;  // ends an idle wait; preallocated, reused
  QEventLoop *mainLoop = nullptr;
  bool quitPending = false;
  int quitCode = 0;
};

Runtime &runtime() {
  static Runtime state;
  return state;
}

// QApplication keeps a reference to argc and the argv array for its lifetime.
int gArgc = 0;
char gProgramName[] = "rvimzel4";
char *gFakeArgv[] = {gProgramName, nullptr};

// A context menu may wait for the operator in a loop of its own (a numeric
// control's does): it opens once the hold has ended, as if asked for then.
class ContextMenuHold : public QObject {
 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::ContextMenu) return false;
    const auto *asked = static_cast<QContextMenuEvent *>(event);
    const QContextMenuEvent::Reason reason = asked->reason();
    const QPoint pos = asked->pos();
    const QPoint globalPos = asked->globalPos();
    const Qt::KeyboardModifiers modifiers = asked->modifiers();
    CallOrHold(watched, [watched, reason, pos, globalPos, modifiers] {
      QContextMenuEvent again(reason, pos, globalPos, modifiers);
      QCoreApplication::sendEvent(watched, &again);
    });
    return true;
  }
};

// Takes in what the window system has queued, the operator's actions
// included, with every program callback held back, so that a close of the
// main window ends the waits (events.cpp) while the program polls without
// processing events. Serial lines and timers are left for event processing.
void ProbeWindowSystem() {
  QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr || QThread::currentThread() != runtime().app->thread()) return;
  CallbackHold hold;
  ContextMenuHold menus;
  runtime().app->installEventFilter(&menus);
  dispatcher->processEvents(QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers);
  runtime().app->removeEventFilter(&menus);
}

void createApplication(char **argv) {
  Runtime &rt = runtime();
  char **args = argv != nullptr && argv[0] != nullptr ? argv : gFakeArgv;
  gArgc = 0;
  while (args[gArgc] != nullptr) ++gArgc;
  rt.app = new QApplication(gArgc, args);
  QApplication::setFont(ApplicationFont());
  QApplication::setQuitOnLastWindowClosed(false);  // the program decides when to quit
  InstallPaintPacing(rt.app);
  rt.wakeTimer = new QTimer(rt.app);
  rt.wakeTimer->setSingleShot(true);
  rt.wakeTimer->setTimerType(Qt::PreciseTimer);
  SetWaitsProbe(ProbeWindowSystem);
}

}  // namespace

QFont ApplicationFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(9);
  return font;
}

bool RuntimeStarted() {
  return runtime().app != nullptr;
}

int InitCVIRTE(void * /*hInstance*/, char **argv, void * /*reserved*/) {
  if (QCoreApplication::instance() != nullptr) {
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr ? 1 : 0;
  }
  createApplication(argv);
  return RuntimeStarted() ? 1 : 0;
}

int ProcessSystemEvents(void) {
  Runtime &rt = runtime();
  if (rt.app == nullptr) return UIE_NO_APPLICATION;
  QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) return UIE_NO_APPLICATION;
  if (dispatcher->processEvents(QEventLoop::AllEvents)) return 0;
  // Nothing was pending: sleep until an event arrives or the wake timer fires.
  // A nested call (from a callback) may restart the timer; the outer wait has
  // then already dispatched something and returns anyway.
  rt.wakeTimer->start(kIdleWaitMs);
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  rt.wakeTimer->stop();
  return 0;
}

int RunUserInterface(void) {
  Runtime &rt = runtime();
  if (rt.app == nullptr) return UIE_NO_APPLICATION;
  if (rt.quitPending) {
    rt.quitPending = false;
    return rt.quitCode;
  }
  QEventLoop loop;
  QEventLoop *outer = rt.mainLoop;
  rt.mainLoop = &loop;
  const int code = loop.exec();
  rt.mainLoop = outer;
  rt.quitPending = false;
  return code;
}

int QuitUserInterface(int code) {
  Runtime &rt = runtime();
  if (rt.app == nullptr) return UIE_NO_APPLICATION;
  rt.quitCode = code;
  if (rt.mainLoop != nullptr) {
    // The loop checks this after the current dispatch returns, so a call from
    // a nested ProcessSystemEvents ends the main loop once control is back.
    rt.mainLoop->exit(code);
  } else {
    rt.quitPending = true;
  }
  return 0;
}
