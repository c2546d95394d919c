// Closing the main window while the program waits for the controller: the
// wait ends on the close (the clock stands still, so no time-out can end
// it), no request leaves after the close, a recording keeps its rows, and
// the program runs its exit path and ends with 0. The program runs as a
// whole (WinMain); the action starts from its event loop.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "tests/app/app_fixture.h"
#include "tests/recorder/record_file.h"
#include "tests/support/test_clock.h"

namespace {

using namespace apptest;

struct Case {
  const char *name;
  int control;                // clicked once the start-up has ended; 0: none (the start-up itself)
  sim::Faults faults;         // the controller meanwhile
  int closeAtRequest;         // the close comes as this request reaches the controller, or
  const char *closeOnStatus;  // as the program shows this text
};

const Case kCases[] = {
    {"StartUpEchoCheck", 0, {.silent = true}, 1, nullptr},
    {"LiveRun", PANEL_BTNRUN, {.answerDelay = 0.3}, 3, nullptr},
    {"Recording", PANEL_RECCTRL1, {.answerDelay = 0.3}, 3, nullptr},
    {"DataReadout", PANEL_BTNDATA, {.dropOrder9Offset = 0}, 2, nullptr},
    {"Get", PANEL_BTNGET, {.silent = true}, 1, nullptr},
    {"SendBetweenTheSets", PANEL_BTNSEND, {}, 0, "Transmit para1 Ok!"},
    {"Teach", PANEL_BUTTONTEACH, {.silent = true}, 1, nullptr},
    {"Reset", PANEL_BUTTONRESET, {.silent = true}, 1, nullptr},
    {"Refresh", PANEL_BUTTONREFRESH, {.silent = true}, 1, nullptr},
};

// The operator's close of the main window, queued from any thread: it comes
// in with the next look at pending events.
void CloseMainWindowSoon() {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { PanelWindow(panelHandle)->close(); },
      Qt::QueuedConnection);
}

// Ends a case that went wrong: once `seconds` have passed without done(),
// the clock runs again and far ahead, so every wait runs out, and the window
// is closed once more so that the program ends.
class Watchdog {
 public:
  explicit Watchdog(double seconds)
      : thread_([this, seconds] {
          std::unique_lock lock(mutex_);
          if (wake_.wait_for(lock, std::chrono::duration<double>(seconds),
                             [this] { return done_; }))
            return;
          fired_ = true;
          ThawTimerForTest();
          AdvanceTimerForTest(1000.0);
          CloseMainWindowSoon();
        }) {}
  ~Watchdog() {
    done();
    thread_.join();
  }
  void done() {
    std::lock_guard lock(mutex_);
    done_ = true;
    wake_.notify_all();
  }
  bool fired() const { return fired_; }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::atomic<bool> fired_{false};
  std::thread thread_;
};

class CloseDuringATransaction : public ::testing::TestWithParam<Case> {
 protected:
  void TearDown() override {
    SetTextObserver({});
    ResetTimerForTest();
    ResumeWaits();
  }
};

TEST_P(CloseDuringATransaction, EndsItOnTheCloseSendsNothingMoreAndEndsTheProgramWithZero) {
  const Case &c = GetParam();
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  Controller controller;
  controller.sim.setPacing(sim::Pacing::Instant);
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  controller.sim.setLiveWords({1000, 64000, 0, 65535});

  sim::Faults faults = c.faults;
  faults.onRequest = [&c, seen = 0]() mutable {
    if (++seen == c.closeAtRequest) CloseMainWindowSoon();
  };
  SetTextObserver([&c](int, int, const char *text) {
    if (c.closeOnStatus != nullptr && std::string(text) == c.closeOnStatus) CloseMainWindowSoon();
  });
  SettleLine(0);  // nothing left over from earlier cases to wait for
  std::string record;
  int shownRows = -1;
  bool actionDone = false;
  std::unique_ptr<AfterStartUp> action;
  if (c.control == 0) {
    controller.sim.setFaults(faults);
    FreezeTimerForTest();
  } else {
    action = std::make_unique<AfterStartUp>(controller.sim, [&] {
      RecordEveryAnswerInto(tmp);
      controller.sim.clearRecord();
      controller.sim.setFaults(faults);
      FreezeTimerForTest();
      QTest::mouseClick(ControlWidget(panelHandle, c.control), Qt::LeftButton);
      actionDone = true;
      record = ReadWholeFile(recfile_name);
      GetCtrlVal(panelPopUp, POPUP_RECCOUNT, &shownRows);
    });
  }

  Watchdog watchdog(30.0);
  static char name[] = "RVIMZEL4V14";
  static char *argv[] = {name, nullptr};
  EXPECT_EQ(WinMain(1, argv), 0);
  watchdog.done();

  EXPECT_FALSE(watchdog.fired()) << "the wait ran on after the close";
  EXPECT_EQ(actionDone, c.control != 0);
  // Every request written has reached the controller once it holds still.
  const std::size_t atClose = c.closeAtRequest > 0 ? c.closeAtRequest : 1;
  testsupport::WaitUntil([&] { return controller.sim.requestCount() >= atClose; });
  testsupport::WaitUntil([] { return false; }, 0.1);
  EXPECT_EQ(controller.sim.requestCount(), atClose) << "no request after the close";
  if (c.control == PANEL_RECCTRL1) {
    // The rows answered before the close are on disk, as counted.
    const std::vector<std::string> rows = RowLines(record);
    EXPECT_EQ(static_cast<int>(rows.size()), c.closeAtRequest - 1);
    EXPECT_EQ(static_cast<int>(rows.size()), shownRows);
    for (const std::string &row : rows) EXPECT_EQ(row, "1000\t64000\t0\t65535");
  }
}

INSTANTIATE_TEST_SUITE_P(Transactions, CloseDuringATransaction, ::testing::ValuesIn(kCases),
                         [](const auto &row) { return std::string(row.param.name); });

}  // namespace
