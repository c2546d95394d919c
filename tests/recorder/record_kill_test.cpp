// The program killed hard during a recording: every row it had counted is in
// the file. A helper program records and reports its counter through a pipe;
// the test kills it with SIGKILL after a few rows and reads the file.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cctype>
#include <string>
#include <vector>

#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "tests/recorder/record_file.h"

extern char **environ;

namespace {

// Reads what the pipe holds within `seconds`; false at end of file.
bool ReadSome(int fd, std::string *out, int milliseconds) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, milliseconds) <= 0) return true;
  char buf[256];
  const ssize_t n = read(fd, buf, sizeof buf);
  if (n <= 0) return false;
  out->append(buf, static_cast<std::size_t>(n));
  return true;
}

// The last complete number line of the report, or -1.
int LastCount(const std::string &report) {
  const std::size_t end = report.rfind('\n');
  if (end == std::string::npos) return -1;
  const std::size_t begin = report.rfind('\n', end - 1);
  const std::size_t from = begin == std::string::npos ? 0 : begin + 1;
  return std::stoi(report.substr(from, end - from));
}

bool IsRow(const std::string &line) {
  int fields = 1;
  bool digit = false;
  for (char c : line) {
    if (c == '\t') {
      if (!digit) return false;
      ++fields;
      digit = false;
    } else if (std::isdigit(static_cast<unsigned char>(c)) != 0) {
      digit = true;
    } else {
      return false;
    }
  }
  return digit && fields == 4;
}

TEST(RecordKilled, TheFileHoldsEveryRowCountedBeforeTheKill) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const std::string file = tmp.filePath(QStringLiteral("RVimRecord.dat")).toStdString();
  char dir[kMaxPathname] = "";
  char child[kMaxPathname] = "";
  ASSERT_EQ(GetProjectDir(dir), 0);
  ASSERT_EQ(MakePathname(dir, "recorder_run_child", child), 0);

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, fds[1]);
  char *args[] = {child, const_cast<char *>(file.c_str()), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, child, &actions, nullptr, args, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);

  // Let it count a few rows, then kill it without warning.
  std::string report;
  const double until = Timer() + 20.0;
  while (LastCount(report) < 8 && Timer() < until) {
    if (!ReadSome(fds[0], &report, 50)) break;
  }
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  while (ReadSome(fds[0], &report, 1000)) {
  }
  close(fds[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the helper ended on its own: " << report;
  const int counted = LastCount(report);
  ASSERT_GE(counted, 8) << report;

  const std::string content = ReadWholeFile(file);
  std::string header = kRecHeader;  // built in steps: g++ 12 warns falsely on operator+ here
  header += "0\n";
  ASSERT_EQ(content.substr(0, header.size()), header);
  EXPECT_EQ(content.back(), '\n');  // no half row
  const std::vector<std::string> rows = RowLines(content);
  EXPECT_GE(rows.size(), static_cast<std::size_t>(counted));
  RecordProperty("counted", counted);
  RecordProperty("rows_in_file", static_cast<int>(rows.size()));
  for (const std::string &row : rows) EXPECT_TRUE(IsRow(row)) << row;
}

}  // namespace
