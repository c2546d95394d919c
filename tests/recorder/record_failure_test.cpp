// A record file that cannot be written ends the run with a status text and
// keeps the rows already written.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/util/files.h"
#include "tests/recorder/record_fixture.h"
#include "tests/support/test_clock.h"

namespace {

void WriteWholeFile(const std::string &path, const std::string &content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

TEST_F(RecordRun, RecordFileThatCannotBeCreatedEndsTheRunAtOnce) {
  // A missing folder would be made; one below a plain file cannot be.
  WriteWholeFile(tmp_.filePath(QStringLiteral("plain")).toStdString(), "x");
  SetRecordFile(tmp_.filePath(QStringLiteral("plain/RVimRecord.dat")).toStdString());
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), "Record file cannot be created - recording NOT started!");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(recfile_name)));
  testsupport::PumpFor(0.2);
  EXPECT_EQ(Sim().requestCount(), 0u);  // the controller is not polled for nothing
  ExpectEndOfRunControls();
  EXPECT_EQ(stop_flag, 1);
}

// A file moved away, deleted or replaced is no longer the record file: the
// run ends, and the rows written so far stay in the file that was written.
TEST_F(RecordRun, DirectoryGoneMidRunEndsTheRunAndKeepsTheRowsWritten) {
  ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("rec")));
  const QString dir = tmp_.filePath(QStringLiteral("rec"));
  const QString moved = tmp_.filePath(QStringLiteral("moved"));
  SetRecordFile((dir + QStringLiteral("/RVimRecord.dat")).toStdString());
  Settings(0, 1000);
  Record([&](const CountSeen &seen) {
    if (seen.count == 3) {
      ASSERT_TRUE(QDir().rename(dir, moved));
    }
  });
  EXPECT_EQ(Status(), "Record file deleted or replaced - recording stopped!");
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  EXPECT_GE(shown, 3);
  EXPECT_LT(shown, 1000);
  const std::string kept = ReadWholeFile((moved + QStringLiteral("/RVimRecord.dat")).toStdString());
  EXPECT_EQ(kept.substr(0, Header(0).size()), Header(0));
  EXPECT_EQ(RowLines(kept), std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  ExpectEndOfRunControls();
}

TEST_F(RecordRun, RecordFileReplacedMidRunEndsTheRunAndKeepsTheRowsWritten) {
  const std::string moved = tmp_.filePath(QStringLiteral("moved.dat")).toStdString();
  Settings(0, 1000);
  Record([&](const CountSeen &seen) {
    if (seen.count != 3) return;
    ASSERT_EQ(std::rename(recfile_name, moved.c_str()), 0);
    WriteWholeFile(recfile_name, "someone else's\n");
  });
  EXPECT_EQ(Status(), "Record file deleted or replaced - recording stopped!");
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  EXPECT_EQ(RowLines(ReadWholeFile(moved)),
            std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  EXPECT_EQ(File(), "someone else's\n");
}

// The run holds its file locked; a second program finds it locked and
// refuses, and the recording in the file stays as it is.
TEST_F(RecordRun, RecordFileIsLockedForTheRunAndASecondRecorderIsRefused) {
  Settings(0, 1000);
  int lockedDuringRun = -1;
  Record([&](const CountSeen &seen) {
    if (seen.count != 2) return;
    const int fd = open(recfile_name, O_RDONLY);
    lockedDuringRun = flock(fd, LOCK_EX | LOCK_NB) != 0 ? 1 : 0;
    close(fd);
    ClickStopRecording();
  });
  EXPECT_EQ(lockedDuringRun, 1);
  const std::string recording = File();
  const int other = open(recfile_name, O_RDONLY);  // the other program's lock
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
  Record();
  close(other);
  EXPECT_EQ(Status(), "Record file in use by another program - recording NOT started!");
  EXPECT_EQ(File(), recording);
  EXPECT_EQ(Sim().requestCount(), Sim().answerCount());
}

// A disk that is full at a given size: a file-size limit on the process
// fails writes beyond it as a full disk does, on every machine and for root.
class RecordOnSmallDisk : public RecordRun {
 protected:
  void TearDown() override {
    if (limited_) setrlimit(RLIMIT_FSIZE, &saved_);
    RecordRun::TearDown();
  }

  // Writes fail once the record file would grow beyond `bytes`.
  void FillUpTo(std::size_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    limited_ = true;
  }

  rlimit saved_{};
  bool limited_ = false;
};

TEST_F(RecordOnSmallDisk, DiskFullMidRunEndsTheRunAndKeepsEveryCountedRow) {
  FillUpTo(4096);
  Sim().setPacing(sim::Pacing::Instant);  // 4 KiB of rows in well under a second
  Settings(0, 5000);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  const std::string file = File();
  // 4096 bytes at most: the header and as many whole rows as fit, no half row.
  EXPECT_EQ(file.size(),
            Header(0).size() + static_cast<std::size_t>(shown) * (LiveRow().size() + 1));
  EXPECT_GT(file.size() + LiveRow().size() + 1, 4096u);
  EXPECT_EQ(Rows(), std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  ExpectEveryCountOnDisk();
  ExpectEndOfRunControls();
}

// An old recording whose name cannot be deleted (a mount point) is never
// appended to: the run does not start.
TEST_F(RecordRun, OldRecordingThatCannotBeDeletedIsLeftAlone) {
  const std::string path = tmp_.filePath(QStringLiteral("RVimRecord.dat")).toStdString();
  const std::string source = tmp_.filePath(QStringLiteral("old.dat")).toStdString();
  WriteWholeFile(source, "old recording\n");
  WriteWholeFile(path, "");
  ASSERT_EQ(mount(source.c_str(), path.c_str(), nullptr, MS_BIND, nullptr), 0);
  SetRecordFile(path);
  Settings(0, 10);
  Record();
  umount2(path.c_str(), MNT_DETACH);
  EXPECT_EQ(Status(), "Record file cannot be created - recording NOT started!");
  EXPECT_EQ(ReadWholeFile(source), "old recording\n");
  EXPECT_EQ(Sim().requestCount(), 0u);
}

TEST_F(RecordOnSmallDisk, DiskFullAtTheStartEndsTheRunBeforeAnyRequest) {
  FillUpTo(0);
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_TRUE(RowLines(File()).empty());
  EXPECT_EQ(Sim().requestCount(), 0u);
  ExpectEndOfRunControls();
}

// The syncs of the record file, seen through the file operations' seam: the
// file's size at each, and how many succeed before they fail.
std::vector<std::size_t> gSyncedSizes;
std::size_t gSyncsThatSucceed = 0;

int ObservedSync(int fd) {
  struct stat info {};
  fstat(fd, &info);
  gSyncedSizes.push_back(static_cast<std::size_t>(info.st_size));
  if (gSyncedSizes.size() <= gSyncsThatSucceed) return 0;
  errno = EIO;
  return -1;
}

class RecordWithObservedSyncs : public RecordRun {
 protected:
  void SetUp() override {
    RecordRun::SetUp();
    gSyncedSizes.clear();
    gSyncsThatSucceed = SIZE_MAX;
    rvutil::SetSyncForTest(ObservedSync);
  }
  void TearDown() override {
    rvutil::SetSyncForTest(nullptr);
    ResetTimerForTest();
    RecordRun::TearDown();
  }
};

// Line 1 is synced before the first request, and each row in the pass that
// writes it, once the next request is on its way.
TEST_F(RecordWithObservedSyncs, EveryRowIsSyncedInThePassThatWritesIt) {
  Settings(0, 10);
  Record();
  ASSERT_EQ(Rows().size(), 10u);
  std::vector<std::size_t> expected;
  for (std::size_t rows = 0; rows <= 10; ++rows) {
    expected.push_back(Header(0).size() + rows * (LiveRow().size() + 1));
  }
  EXPECT_EQ(gSyncedSizes, expected);
}

// The row whose sync fails was written: it stays in the file and the count.
TEST_F(RecordWithObservedSyncs, RowThatCannotReachTheDiskEndsTheRunWithTheWriteError) {
  gSyncsThatSucceed = 3;  // line 1 and two rows
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 3);
  EXPECT_EQ(Rows().size(), 3u);
  ExpectEndOfRunControls();
}

// A slow stick or card: each row's sync "takes" 3 s on the run's clock, twice
// the controller's time-out, while the controller answers at once.
int SyncTakingThreeSeconds(int fd) {
  AdvanceTimerForTest(3.0);
  return ObservedSync(fd);
}

TEST_F(RecordWithObservedSyncs, SyncSlowerThanTheTimeOutDoesNotCountAgainstTheController) {
  rvutil::SetSyncForTest(SyncTakingThreeSeconds);
  Settings(0, 5);
  Record();
  EXPECT_EQ(Rows().size(), 5u);
  EXPECT_EQ(Value(panelPopUp, POPUP_RECCOUNT), 5);
  EXPECT_EQ(Status(), "Line Ok!") << "the run ended by its count, not by a time-out";
}

TEST_F(RecordWithObservedSyncs, HeaderThatCannotReachTheDiskEndsTheRunBeforeAnyRequest) {
  gSyncsThatSucceed = 0;
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Sim().requestCount(), 0u);
}

}  // namespace
