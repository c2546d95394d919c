// Fmt, path helpers, file deletion and the clock with its test seam.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/ui/userint.h"
#include "platform/util/clockseam.h"
#include "platform/util/utility.h"
#include "tests/support/test_clock.h"

namespace {

TEST(Fmt, TurnsEachIntegerIntoOneCharacterOfItsLowByte) {
  int words[32];
  words[0] = 0x41;
  words[1] = 0x0142;  // above 255: the low byte counts
  for (int i = 2; i < 32; ++i) words[i] = 0x20;
  char text[65];
  std::memset(text, 'z', sizeof text);
  EXPECT_EQ(Fmt(text, "%64c<%32i", words), 32);
  EXPECT_EQ(std::string(text), "AB" + std::string(30, ' '));
}

TEST(Fmt, RefusesFormatsItDoesNotKnow) {
  const int words[2] = {65, 66};
  char text[8] = "keep";
  EXPECT_LT(Fmt(text, "%s<%2i", words), 0);
  EXPECT_LT(Fmt(text, "%4c<%2d", words), 0);
  EXPECT_LT(Fmt(text, "%4c", words), 0);
  EXPECT_STREQ(text, "keep");
  EXPECT_EQ(Fmt(text, "%1c<%2i", words), 1);  // the target bounds the count
  EXPECT_STREQ(text, "A");
}

TEST(Paths, MakePathnameJoinsWithOneSlashAndRefusesLongResults) {
  char path[kMaxPathname];
  ASSERT_EQ(MakePathname("/opt/rvim", "RVimRecord.dat", path), 0);
  EXPECT_STREQ(path, "/opt/rvim/RVimRecord.dat");
  ASSERT_EQ(MakePathname("/opt/rvim/", "a.cfg", path), 0);
  EXPECT_STREQ(path, "/opt/rvim/a.cfg");

  const std::string dir(200, 'd');
  const std::string fits(kMaxPathname - 1 - 201, 'f');
  ASSERT_EQ(MakePathname(dir.c_str(), fits.c_str(), path), 0);
  EXPECT_EQ(std::strlen(path), static_cast<std::size_t>(kMaxPathname - 1));
  std::strcpy(path, "untouched");
  EXPECT_LT(MakePathname(dir.c_str(), (fits + "x").c_str(), path), 0);
  EXPECT_STREQ(path, "untouched");
}

TEST(Paths, ProjectDirIsTheExecutablesDirectory) {
  char dir[kMaxPathname];
  ASSERT_EQ(GetProjectDir(dir), 0);
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(n, 0);
  exe[n] = '\0';
  const std::string expected = std::string(exe).substr(0, std::string(exe).rfind('/'));
  EXPECT_EQ(std::string(dir), expected);
  EXPECT_NE(dir[std::strlen(dir) - 1], '/');
}

TEST(Paths, DeleteFileTreatsAMissingFileAsDone) {
  char pattern[] = "/tmp/rvdelXXXXXX";
  const int fd = mkstemp(pattern);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EQ(CVI_DeleteFile(pattern), 0);
  struct stat st {};
  EXPECT_NE(stat(pattern, &st), 0);
  EXPECT_EQ(CVI_DeleteFile(pattern), 0);
  EXPECT_EQ(StringLength("R-VIM"), 5);
  EXPECT_EQ(StringLength(""), 0);
}

TEST(Clock, TimerRunsForwardAndDelayWaitsAtLeastItsTime) {
  const double t0 = Timer();
  Delay(0.2);
  const double t1 = Timer();
  EXPECT_GE(t1 - t0, 0.2);
  EXPECT_EQ(Delay(0.0), 0);
  EXPECT_EQ(Delay(-1.0), 0);
}

// A frozen clock moves only by the seam; ended waits cut a pause short (an
// hour's pause that did not end at once would hold the case until its limit).
TEST(Clock, FrozenTimerStandsStillAndEndedWaitsCutAPauseShort) {
  FreezeTimerForTest();
  const double t0 = Timer();
  Delay(0.02);
  EXPECT_EQ(Timer(), t0);
  AdvanceTimerForTest(1.0);
  EXPECT_EQ(Timer(), t0 + 1.0);
  EndWaitsNow();
  EXPECT_EQ(Delay(3600.0), 0);
  ResumeWaits();
  ResetTimerForTest();
  EXPECT_GT(Timer(), t0);
}

TEST(Clock, SeamMovesTheTimerAndWholeSecondsWrapIn16Bits) {
  const double before = Timer();
  AdvanceTimerForTest(1000.0);
  EXPECT_GE(Timer() - before, 1000.0);
  ResetTimerForTest();
  const double reset = Timer();
  EXPECT_LE(reset, SteadyClockSeconds());  // the offset is gone: the steady clock again

  // Put the clock half a second before a 65536-second boundary; three
  // seconds later the 16-bit difference of whole seconds is still 3.
  const double now = Timer();
  const double boundary = (static_cast<int64_t>(now / 65536.0) + 1) * 65536.0;
  AdvanceTimerForTest(boundary - now - 0.5);
  const auto mark = static_cast<uint16_t>(static_cast<int64_t>(Timer()));
  AdvanceTimerForTest(3.0);
  const auto later = static_cast<uint16_t>(static_cast<int64_t>(Timer()));
  EXPECT_LT(later, mark);  // wrapped
  EXPECT_EQ(static_cast<uint16_t>(later - mark), 3);
  ResetTimerForTest();
}

}  // namespace
