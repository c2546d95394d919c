// The event loop: one pass of ProcessSystemEvents, and the main loop.
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>

#include "tests/platform/ui_fixture.h"

namespace {

class Receiver : public QObject {
 public:
  std::function<void()> onEvent;
  int count = 0;
  bool event(QEvent *e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++count;
    if (onEvent) onEvent();
    return true;
  }
};

// Times this thread has gone to sleep.
long OwnSleeps() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw;
}

// Calls ProcessSystemEvents until done() or a second has passed.
bool ProcessUntil(const std::function<bool()> &done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 1000) ProcessSystemEvents();
  return done();
}

TEST(UiRuntime, InitCVIRTEIsIdempotent) {
  EXPECT_EQ(InitCVIRTE(nullptr, nullptr, nullptr), 1);
  EXPECT_NE(QCoreApplication::instance(), nullptr);
}

TEST(UiRuntime, ProcessSystemEventsDeliversPostedEvents) {
  Receiver receiver;
  QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  ProcessSystemEvents();
  EXPECT_EQ(receiver.count, 1);
}

TEST(UiRuntime, ProcessSystemEventsDeliversSocketNotifications) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  QSocketNotifier notifier(fds[0], QSocketNotifier::Read);
  int notified = 0;
  QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
    char byte;
    if (read(fds[0], &byte, 1) == 1) ++notified;
  });
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_TRUE(ProcessUntil([&] { return notified == 1; }));
  close(fds[0]);
  close(fds[1]);
}

TEST(UiRuntime, ProcessSystemEventsIsReentrant) {
  Receiver outer;
  Receiver inner;
  outer.onEvent = [&] {
    QCoreApplication::postEvent(&inner, new QEvent(QEvent::User));
    ProcessUntil([&] { return inner.count == 1; });
  };
  QCoreApplication::postEvent(&outer, new QEvent(QEvent::User));
  EXPECT_TRUE(ProcessUntil([&] { return outer.count == 1; }));
  EXPECT_EQ(inner.count, 1);
}

// Real time is the subject: each idle pass sleeps (a voluntary switch of the
// thread) about 10 ms, ended by the pass's own wake timer, as nothing else is
// pending; a pass that spun would not sleep, one without a wake timer would
// never end.
TEST(UiRuntimeTiming, IdleProcessingWaitsBrieflyWithoutBurningTheProcessor) {
  ProcessUntil([] { return false; });  // drain start-up events for a second
  QElapsedTimer wall;
  wall.start();
  const long sleepsBefore = OwnSleeps();
  for (int i = 0; i < 40; ++i) ProcessSystemEvents();
  // A pass whose wake timer ran out before it could sleep (a busy machine)
  // does not sleep; a loop that spun would hardly ever sleep.
  EXPECT_GE(OwnSleeps() - sleepsBefore, 10);
  EXPECT_GT(wall.elapsed(), 40);  // it did wait, about 10 ms a pass
}

TEST(UiRuntime, QuitBeforeRunMakesRunReturnAtOnce) {
  QuitUserInterface(5);
  EXPECT_EQ(RunUserInterface(), 5);
}

TEST(UiRuntime, QuitFromANestedPassEndsTheMainLoopWhenControlReturns) {
  bool returnedToCallback = false;
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(0, [] { QuitUserInterface(7); });
    ProcessUntil([] { return false; });  // keeps running after the quit request
    returnedToCallback = true;
  });
  EXPECT_EQ(RunUserInterface(), 7);
  EXPECT_TRUE(returnedToCallback);
}

int QuitOnClose(int, int event, void *, int, int) {
  if (event == EVENT_CLOSE) QuitUserInterface(0);
  return 0;
}

TEST_F(UiTest, ClosingAPanelCanEndTheMainLoop) {
  static const CallbackEntry table[] = {{"CC_Record", RecordControl, nullptr},
                                        {"CC_Main", nullptr, QuitOnClose}};
  RegisterCallbacks(table, 2);
  const int panel = LoadMain();
  QTimer::singleShot(10, [panel] { PanelWidget(panel)->close(); });
  EXPECT_EQ(RunUserInterface(), 0);
  EXPECT_TRUE(PanelWidget(panel)->isVisible());
}

}  // namespace

// A window updated on every pass of a fast loop paints at most about once a
// frame time (16 ms), and its last state is drawn after the loop.
class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent *) override { ++paints; }
};

// Real time is the subject: paints per frame time. A busy machine only makes
// the loop take longer, which allows more paints.
TEST(UiRuntimeTiming, FastUpdatesPaintOncePerFrameAndTheLastStateIsDrawn) {
  PaintCounter window;
  window.resize(200, 100);
  window.show();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 50) ProcessSystemEvents();
  window.paints = 0;
  int updates = 0;
  clock.restart();
  while (updates < 200 || clock.elapsed() < 400) {
    window.update();
    ++updates;
    QCoreApplication::processEvents();
  }
  const qint64 spent = clock.elapsed();
  EXPECT_GE(window.paints, 1);
  EXPECT_LE(window.paints, spent / 16 + 2);

  const int before = window.paints;
  window.update();
  clock.restart();
  while (window.paints == before && clock.elapsed() < 10000) ProcessSystemEvents();
  EXPECT_EQ(window.paints, before + 1);
}
