// The line monitor against the controller simulator: the log of a whole run
// line by line, and the window as the operator uses it.
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/callbacks.h"
#include "app/cmdline.h"
#include "app/keyboard.h"
#include "link/linedecode.h"
#include "platform/ui/linemonitor.h"
#include "platform/util/linelog.h"
#include "tests/app/app_fixture.h"
#include "tests/support/program_line.h"
#include "tests/support/test_clock.h"

namespace {

using testsupport::RequestBytes;

constexpr sim::Words16 kStoredFull = {0,    1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                      1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015};
constexpr sim::Words16 kStoredB = {1, 2001, 2002, 2003, 2004};
constexpr sim::Words16 kLive = {1000, 900, 2048, 1024, 3000, 2500, 1010, 910,
                                990,  890, 512,  0,    1,    0,    64,   128};
constexpr sim::Words16 kDefaultsFull = {0, 500, 2048, 512, 950, 20, 1,   100,
                                        8, 1,   0,    0,   0,   0,  500, 0};
constexpr sim::Words16 kDefaultsB = {1, 500, 2048, 512, 950};

const char kStoredFullWords[] =
    "set=0 powerA=1001 refA=1002 tolA=1003 triglvlA=1004 hysteresis=1005 polarity=1006 "
    "hold=1007 average=1008 hwmode=1009 evalmode=1010 trigmode=1011 outmode=1012 anamode=1013 "
    "sdelay=1014 maxmode=1015";
const char kStoredBWords[] = "set=1 powerB=2001 refB=2002 tolB=2003 triglvlB=2004 w5..w15=0";
const char kLiveWords[] =
    "valNORMA=1000 valNORMB=900 adcCHA=2048 adcCHB=1024 Amax=3000 Bmax=2500 MAXvalA=1010 "
    "MAXvalB=910 MINvalA=990 MINvalB=890 tolval=512 btnval=0 in0val=1 in1val=0 indexA=64 "
    "indexB=128";

std::string Hex(const std::vector<uint8_t> &bytes) {
  std::string hex;
  char two[4];
  for (const uint8_t b : bytes) {
    std::snprintf(two, sizeof two, "%02X", b);
    hex += (hex.empty() ? "" : " ") + std::string(two);
  }
  return hex;
}

// A log line with its two time columns masked.
std::string LogLine(const char *direction, const std::string &order, const std::string &content,
                    const std::vector<uint8_t> &bytes = {}) {
  return std::string("T\tT\t") + direction + "\t" + order + "\t" + content + "\t" + Hex(bytes);
}

std::string StatusLine(const char *text) {
  return LogLine("status", "", text);
}

// The times a line carries (its first two columns, and how long a wait took)
// depend on the machine; the rest is exact.
std::string Masked(const std::string &line) {
  static const QRegularExpression times(QStringLiteral("^[^\t]*\t[^\t]*\t"));
  static const QRegularExpression waited(QStringLiteral("waited \\d+ ms"));
  return QString::fromStdString(line)
      .replace(times, QStringLiteral("T\tT\t"))
      .replace(waited, QStringLiteral("waited # ms"))
      .toStdString();
}

std::vector<std::string> LoggedLines() {
  WriteLineLog();
  std::vector<std::string> lines;
  LineEvent event;
  for (uint64_t seq = LineLogBegin(); seq < LineLogEnd(); ++seq) {
    if (LineLogGet(seq, &event)) lines.push_back(Masked(LineEventLine(event)));
  }
  return lines;
}

class LineMonitor : public testsupport::ProgramLine {
 protected:
  void SetUp() override {
    ProgramLine::SetUp();
    if (HasFatalFailure()) return;
    SetLineEventReader(LinkEventReader());
    SetLineMonitorReport(ShowStatus);
    // The log's exact words are the subject: the simulator answers with the
    // header and word 0 these lines name, whatever latitude the run gives.
    // How the program takes the latitude's answers is the other suites' subject.
    Sim().setLatitude(std::nullopt);
    maxmode = 0;  // no default of its own
    Sim().setParameterSet(1, 0, kStoredFull);
    Sim().setParameterSet(1, 1, kStoredB);
    Sim().setLiveWords(kLive);
    LineLogClearForTest();
  }
  void TearDown() override {
    HideLineMonitor();
    ResetTimerForTest();
    ProgramLine::TearDown();
  }
};

std::atomic<int> gRequests{0};

// Get, Run until the controller falls silent after ten answers, then Get
// with line noise ahead of each answer: the log tells each step exactly.
TEST_F(LineMonitor, RunIsLoggedLineByLine) {
  Click(PANEL_BTNGET);

  gRequests = 0;
  SetFaults({.silentFromRequest = 11, .onRequest = [] {
               if (++gRequests == 11) AdvanceTimerForTest(2.5);  // the wait runs out at once
             }});
  Click(PANEL_BTNRUN);
  ASSERT_EQ(testsupport::Status(), "Timeout RS232-Line!");

  Click(PANEL_BTNSTOP);  // a time-out leaves Get dimmed until Stop
  SetFaults({.garbageBefore = 5});
  Click(PANEL_BTNGET);

  const std::vector<uint8_t> noise = {0x12, 0x34, 0xEE, 0x56, 0xFF};
  std::vector<std::string> expected = {
      StatusLine("Receive..."),
      LogLine("out", "2 read RAM",
              "set=0 powerA=500 refA=2048 tolA=512 triglvlA=950 hysteresis=20 polarity=1 hold=100 "
              "average=8 hwmode=1 evalmode=0 trigmode=0 outmode=0 anamode=0 sdelay=500 maxmode=0",
              RequestBytes(2, kDefaultsFull)),
      StatusLine("Waiting for parameter-frame ..."),
      LogLine("in", "2 read RAM", kStoredFullWords, RequestBytes(2, kStoredFull)),
      StatusLine("Parameter-frame received! - Line Ok!"),
      LogLine("out", "2 read RAM", "set=1 powerB=500 refB=2048 tolB=512 triglvlB=950 w5..w15=0",
              RequestBytes(2, kDefaultsB)),
      StatusLine("Waiting for parameter-frame ..."),
      LogLine("in", "2 read RAM", kStoredBWords, RequestBytes(2, kStoredB)),
      StatusLine("Parameter-frame received! - Line Ok!"),
      LogLine("out", "8 live values", kStoredFullWords, RequestBytes(8, kStoredFull)),
      StatusLine("Line Ok!"),
  };
  for (int i = 0; i < 10; ++i) {
    expected.push_back(LogLine("in", "8 live values", kLiveWords, RequestBytes(8, kLive)));
    expected.push_back(
        LogLine("out", "8 live values", kStoredFullWords, RequestBytes(8, kStoredFull)));
  }
  expected.push_back(LogLine("line", "8 live values", "no answer within 2.0 s (waited # ms)",
                             RequestBytes(8, kStoredFull)));
  expected.push_back(StatusLine("Timeout RS232-Line!"));
  const std::vector<std::string> second = {
      StatusLine("Receive..."),
      LogLine("line", "", "waited # ms for a quiet line; 0 bytes came"),
      LogLine("out", "2 read RAM", kStoredFullWords, RequestBytes(2, kStoredFull)),
      StatusLine("Waiting for parameter-frame ..."),
      LogLine("in", "", "5 bytes of noise passed over, awaiting 2 read RAM", noise),
      LogLine("in", "2 read RAM", kStoredFullWords, RequestBytes(2, kStoredFull)),
      StatusLine("Parameter-frame received! - Line Ok!"),
      LogLine("out", "2 read RAM", kStoredBWords, RequestBytes(2, kStoredB)),
      StatusLine("Waiting for parameter-frame ..."),
      LogLine("in", "", "5 bytes of noise passed over, awaiting 2 read RAM", noise),
      LogLine("in", "2 read RAM", kStoredBWords, RequestBytes(2, kStoredB)),
      StatusLine("Parameter-frame received! - Line Ok!"),
  };
  expected.insert(expected.end(), second.begin(), second.end());
  const std::vector<std::string> logged = LoggedLines();
  EXPECT_EQ(logged.size(), expected.size());
  for (std::size_t i = 0; i < std::max(logged.size(), expected.size()); ++i) {
    EXPECT_EQ(i < logged.size() ? logged[i] : "(none)",
              i < expected.size() ? expected[i] : "(none)")
        << "line " << i;
  }
}

// What the receive callback passes over ahead of an answer (line noise, a
// frame that answers another order) is logged as such, in its order.
TEST_F(LineMonitor, BytesPassedOverAheadOfTheAnswerAreLogged) {
  const sim::Words16 other = {0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101,
                              0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101};
  const std::vector<uint8_t> noise = {0xEE, 0xEE, 0xEE};
  const std::vector<uint8_t> late = RequestBytes(11, other);
  const std::vector<uint8_t> answer = RequestBytes(8, kLive);
  const uint16_t words[PNUM] = {};
  FillTxBuf(8, words);  // the live request in flight
  rx_flag = 0;
  std::vector<uint8_t> bytes = noise;
  bytes.insert(bytes.end(), late.begin(), late.end());
  bytes.insert(bytes.end(), answer.begin(), answer.end());
  Sim().sendRaw(bytes);
  ASSERT_TRUE(testsupport::PumpUntil([] { return rx_flag == 1; }));

  const std::vector<std::string> expected = {
      LogLine("in", "", "3 bytes of noise passed over, awaiting 8 live values", noise),
      LogLine("in", "11 refresh", "passed over: not the answer to 8 live values", late),
      LogLine("in", "8 live values", kLiveWords, answer),
  };
  EXPECT_EQ(LoggedLines(), expected);
}

template <class W>
W *MonitorChild(const char *name) {
  QWidget *monitor = nullptr;
  for (QWidget *w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String("LINE_MONITOR")) monitor = w;
  }
  return monitor != nullptr ? monitor->findChild<W *>(QLatin1String(name)) : nullptr;
}

QTableView *MonitorTable() {
  for (QWidget *w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String("LINE_MONITOR")) return w->findChild<QTableView *>();
  }
  return nullptr;
}

std::string Cell(int row, int column) {
  QTableView *table = MonitorTable();
  return table->model()->index(row, column).data().toString().toStdString();
}

// The button and Ctrl+L open the monitor; it follows the line while it runs
// and shows the bytes of the row chosen.
TEST_F(LineMonitor, OpensFromTheBannerAndFollowsTheLine) {
  Click(PANEL_BTNMONITOR);
  ASSERT_EQ(LineMonitorVisible(), 1);
  HideLineMonitor();
  DisplayPanel(panelHandle);
  BindOperatorKeys();  // as the program binds its keys at start
  QWidget *window = PanelWidget(panelHandle);
  QApplication::setActiveWindow(window);
  QTest::keyClick(window, Qt::Key_L, Qt::ControlModifier);
  ASSERT_TRUE(testsupport::PumpUntil([] { return LineMonitorVisible() == 1; }));

  PushGET(RAM, 0);
  RefreshLineMonitor();
  QTableView *table = MonitorTable();
  ASSERT_NE(table, nullptr);
  const int rows = table->model()->rowCount();
  ASSERT_EQ(rows, 4);
  EXPECT_EQ(Cell(0, 1), "out");
  EXPECT_EQ(Cell(0, 2), "2 read RAM");
  EXPECT_EQ(Cell(2, 3), kStoredFullWords);
  EXPECT_EQ(Cell(3, 3), "Parameter-frame received! - Line Ok!");
  EXPECT_NE(table->model()->index(0, 0).data(Qt::ToolTipRole).toString().size(), 0)
      << "the wall clock on hover";

  // The focus makes a row current; only a row selected shows its bytes.
  auto *bytesShown = MonitorChild<QPlainTextEdit>("LINE_MONITOR_BYTES");
  table->setFocus();
  table->setCurrentIndex(table->model()->index(0, 0));
  table->clearSelection();
  EXPECT_EQ(bytesShown->toPlainText().toStdString(), "");
  table->selectRow(2);
  const std::string bytes = bytesShown->toPlainText().toStdString();
  EXPECT_NE(bytes.find(Hex(RequestBytes(2, kStoredFull))), std::string::npos) << bytes;

  // More rows than the window holds: the newest stays in view until the
  // operator scrolls up, and again once back at the bottom.
  QScrollBar *scroll = table->verticalScrollBar();
  const auto moreRows = [] {
    for (int i = 0; i < 10; ++i) PushGET(RAM, 0);
    RefreshLineMonitor();
    QCoreApplication::processEvents();
  };
  moreRows();
  ASSERT_GT(scroll->maximum(), 0);
  EXPECT_EQ(scroll->value(), scroll->maximum());
  scroll->setValue(1);
  moreRows();
  EXPECT_EQ(scroll->value(), 1);
  scroll->setValue(scroll->maximum());
  moreRows();
  EXPECT_EQ(scroll->value(), scroll->maximum());
}

// A time-out's bytes are the request and what came of its answer, shown a
// line each.
TEST_F(LineMonitor, TimeOutShowsTheRequestAndThePartAnswerApart) {
  DisplayLineMonitor(panelHandle);
  std::vector<uint8_t> bytes = RequestBytes(2, kStoredFull);
  const std::vector<uint8_t> came = {0x00, 0x55, 0x00, 0x02, 0x00};
  LineLogRecord(kLineTimeout, com, 1500, 1500, 36, bytes.data(), 36, came.data(), 5);
  RefreshLineMonitor();
  QTableView *table = MonitorTable();
  ASSERT_NE(table, nullptr);
  table->selectRow(table->model()->rowCount() - 1);
  const std::string shown =
      MonitorChild<QPlainTextEdit>("LINE_MONITOR_BYTES")->toPlainText().toStdString();
  EXPECT_NE(shown.find("time-out, 41 bytes\n" + Hex(bytes) + "\n" + Hex(came)), std::string::npos)
      << shown;
}

TEST_F(LineMonitor, FiltersPausesClearsAndSaves) {
  DisplayLineMonitor(panelHandle);
  PushGET(RAM, 0);
  PushGET(RAM, 1);
  RefreshLineMonitor();
  QTableView *table = MonitorTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->model()->rowCount(), 8);

  auto *group = MonitorChild<QComboBox>("LINE_MONITOR_GROUP");
  group->setCurrentIndex(group->findText(QStringLiteral("Status texts")));
  emit group->activated(group->currentIndex());
  EXPECT_EQ(table->model()->rowCount(), 4);
  group->setCurrentIndex(0);
  emit group->activated(0);
  auto *orders = MonitorChild<QComboBox>("LINE_MONITOR_ORDER");
  ASSERT_GE(orders->findText(QStringLiteral("2 read RAM")), 0);

  MonitorChild<QPushButton>("LINE_MONITOR_PAUSE")->click();
  PushGET(RAM, 0);
  RefreshLineMonitor();
  EXPECT_EQ(table->model()->rowCount(), 8) << "paused";
  MonitorChild<QPushButton>("LINE_MONITOR_PAUSE")->click();
  EXPECT_EQ(table->model()->rowCount(), 12) << "what came meanwhile follows";

  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("line.txt")).toStdString();
  SetFilePopupAnswer([&](const FilePopupRequest &, std::string *chosen) {
    *chosen = path;
    return true;
  });
  MonitorChild<QPushButton>("LINE_MONITOR_SAVE")->click();
  SetFilePopupAnswer({});
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[0], LineLogHeader());
  EXPECT_EQ(Masked(lines[1]), LogLine("out", "2 read RAM",
                                      "set=0 powerA=500 refA=2048 tolA=512 triglvlA=950 "
                                      "hysteresis=20 polarity=1 hold=100 average=8 hwmode=1 "
                                      "evalmode=0 trigmode=0 outmode=0 anamode=0 sdelay=500 "
                                      "maxmode=0",
                                      RequestBytes(2, kDefaultsFull)));
  EXPECT_EQ(testsupport::Status(), "Line log saved: " + path);

  MonitorChild<QPushButton>("LINE_MONITOR_CLEAR")->click();
  EXPECT_EQ(table->model()->rowCount(), 0);
  PushGET(RAM, 0);
  RefreshLineMonitor();
  EXPECT_EQ(table->model()->rowCount(), 4);
}

std::vector<std::string> FileLines(const std::string &path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

bool EndsProgram(std::vector<std::string> words) {
  std::vector<char *> argv;
  for (std::string &w : words) argv.push_back(w.data());
  int exitCode = 0;
  const bool ends = CommandLineEndsProgram(static_cast<int>(argv.size()), argv.data(), &exitCode);
  EXPECT_EQ(exitCode, ends ? 2 : -1);
  return ends;
}

// --log writes the start-up from its first event to the close at the end.
using LogFile = apptest::StartupTest;

TEST_F(LogFile, HoldsTheRunFromItsFirstEvent) {
  apptest::Controller controller;
  ASSERT_TRUE(controller.startAt(1));
  controller.loadDistinctSet();
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("line.txt")).toStdString();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(EndsProgram({"RVIMZEL4V14", "--log"}));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Missing value after '--log'"),
            std::string::npos);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(EndsProgram({"RVIMZEL4V14", "--log", dir.path().toStdString() + "/no/such/dir"}));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Cannot write the log file"),
            std::string::npos);
  ASSERT_FALSE(EndsProgram({"RVIMZEL4V14", "--log", path}));
  ASSERT_EQ(Start(), 0);
  EndProgram();
  started_ = false;

  std::vector<std::string> lines = FileLines(path);
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines.front(), LineLogHeader());
  EXPECT_EQ(Masked(lines[1]), StatusLine("InitVars"));
  std::vector<std::string> orders;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string &line = lines[i];
    std::vector<std::string> columns;
    std::istringstream fields(line);
    for (std::string column; std::getline(fields, column, '\t');) columns.push_back(column);
    if (columns.size() > 3 && !columns[3].empty()) orders.push_back(columns[2] + " " + columns[3]);
  }
  EXPECT_EQ(orders,
            (std::vector<std::string>{"out 5 echo check", "in 5 echo check", "out 2 read RAM",
                                      "in 2 read RAM", "out 2 read RAM", "in 2 read RAM",
                                      "out 7 firmware info", "in 7 firmware info"}));
  EXPECT_NE(lines.back().find("\tport 1 closed\t"), std::string::npos) << lines.back();
}

}  // namespace
