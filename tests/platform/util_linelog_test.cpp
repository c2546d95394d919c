// The ring of line events: its bound, what an event keeps, and the writers
// that read it (the log file and the logging categories).
#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/util/linelog.h"
#include "tests/support/test_clock.h"

namespace {

LineEvent Last() {
  LineEvent event;
  EXPECT_TRUE(LineLogGet(LineLogEnd() - 1, &event));
  return event;
}

TEST(LineLog, KeepsTheLastTwentyThousandEventsInOrder) {
  LineLogClearForTest();
  const uint64_t first = LineLogEnd();
  const int extra = 5;
  for (int i = 0; i < kLineLogCapacity + extra; ++i) LineLogRecord(kLineFlushIn, 1, i, 0, 0);
  EXPECT_EQ(LineLogEnd() - LineLogBegin(), static_cast<uint64_t>(kLineLogCapacity));
  EXPECT_EQ(LineLogBegin(), first + extra);
  LineEvent event;
  EXPECT_FALSE(LineLogGet(first + extra - 1, &event));
  ASSERT_TRUE(LineLogGet(LineLogBegin(), &event));
  EXPECT_EQ(event.a, extra);
  EXPECT_EQ(event.seq, first + extra);
  EXPECT_EQ(Last().a, kLineLogCapacity + extra - 1);
  EXPECT_FALSE(LineLogGet(LineLogEnd(), &event));
}

TEST(LineLog, AnEventKeepsAtMostItsFixedBytesAndJoinsTwoParts) {
  const std::vector<uint8_t> big(200, 0xAB);
  LineLogRecord(kLineNoise, 1, 200, 0, 0, big.data(), 200);
  EXPECT_EQ(Last().size, kLineEventBytes);
  EXPECT_EQ(Last().a, 200);  // the count stays whole
  const uint8_t head[] = {1, 2};
  const uint8_t tail[] = {3};
  LineLogRecord(kLineTimeout, 1, 0, 0, 2, head, 2, tail, 1);
  EXPECT_EQ(LineEventHex(Last()), "01 02 03");
  LineLogRecord(kLineStatus, 1, 0, 0, 0, "Line Ok!", 8);
  EXPECT_EQ(LineEventHex(Last()), "");  // a text, not bytes of the line
}

TEST(LineLog, TimesCountFromTheLastPortOpening) {
  LineLogRecord(kLinePortOpened, 1, 19200, 8, 1);
  EXPECT_EQ(LineEventMs(Last()), "0");
  AdvanceTimerForTest(1.25);
  LineLogRecord(kLineStatus, 1, 0, 0, 0, "x", 1);
  const double ms = Last().sinceOpen * 1000.0;
  EXPECT_GE(ms, 1250.0);
  EXPECT_LT(ms, 1250.0 + 60000.0);
  LineLogRecord(kLinePortOpened, 1, 19200, 8, 1);
  EXPECT_EQ(LineEventMs(Last()), "0");
  ResetTimerForTest();
}

// A line has its six columns whatever the texts of an event hold; without
// the program's reader an event shows its kind.
TEST(LineLog, LineHasSixColumnsWhateverTheTextHolds) {
  LineEventReader reader;
  reader.describe = [](const LineEvent &, LineEventText *text) {
    text->order = "1\t2";
    text->content = "a\tb\nc";
  };
  SetLineEventReader(reader);
  LineLogRecord(kLineFrameIn, 1, 0, 0, 0, "\x01\x02", 2);
  const std::string line = LineEventLine(Last());
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 5) << line;
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_NE(line.find("\tin\t1 2\ta b c\t01 02"), std::string::npos) << line;
  SetLineEventReader({});
  EXPECT_EQ(DescribeLineEvent(Last()).content, "frame");
}

std::vector<std::string> Lines(const std::string &path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

TEST(LineLog, LogFileGetsEveryEventOfTheRunOncePerLine) {
  LineLogClearForTest();
  LineLogRecord(kLineStatus, 1, 0, 0, 0, "before the file", 15);
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("line.txt")).toStdString();
  ASSERT_TRUE(SetLineLogFile(path.c_str()));
  WriteLineLog();
  LineLogRecord(kLineStatus, 1, 0, 0, 0, "after", 5);
  WriteLineLog();
  WriteLineLog();
  StopLineLogWriters();
  const std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], LineLogHeader());
  EXPECT_NE(lines[1].find("\tbefore the file\t"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("\tafter\t"), std::string::npos) << lines[2];
  EXPECT_FALSE(SetLineLogFile("/nonexistent-dir/line.txt"));
}

std::vector<std::string> gMessages;

void Collect(QtMsgType, const QMessageLogContext &context, const QString &message) {
  gMessages.push_back(std::string(context.category) + ": " + message.toStdString());
}

TEST(LineLog, CategoriesTheRulesTurnOnGetTheirEvents) {
  SetLineEventReader({});
  WriteLineLog();  // nothing on: what came so far is passed over
  QLoggingCategory::setFilterRules(QStringLiteral("rvim.status.debug=true"));
  const QtMessageHandler previous = qInstallMessageHandler(Collect);
  LineLogRecord(kLineStatus, 1, 0, 0, 0, "shown", 5);
  LineLogRecord(kLineFrameIn, 1, 0, 0, 0);
  WriteLineLog();
  qInstallMessageHandler(previous);
  QLoggingCategory::setFilterRules(QString());
  ASSERT_EQ(gMessages.size(), 1u);
  EXPECT_EQ(gMessages[0].rfind("rvim.status: ", 0), 0u) << gMessages[0];
  EXPECT_NE(gMessages[0].find("\tshown\t"), std::string::npos) << gMessages[0];
}

}  // namespace
