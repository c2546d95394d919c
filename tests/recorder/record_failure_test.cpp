// A record file that cannot be written ends the run with a status text and
// keeps the rows already written.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstdio>

#include "tests/recorder/record_fixture.h"

namespace {

TEST_F(RecordRun, RecordFileThatCannotBeCreatedEndsTheRunAtOnce) {
  SetRecordFile(tmp_.filePath(QStringLiteral("missing/RVimRecord.dat")).toStdString());
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(recfile_name)));
  testsupport::PumpFor(0.2);
  EXPECT_EQ(Sim().requestCount(), 0u);  // the controller is not polled for nothing
  ExpectEndOfRunControls();
  EXPECT_EQ(stop_flag, 1);
}

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
  EXPECT_EQ(Status(), kWriteErrorText);
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  EXPECT_GE(shown, 3);
  EXPECT_LT(shown, 1000);
  const std::string kept = ReadWholeFile((moved + QStringLiteral("/RVimRecord.dat")).toStdString());
  EXPECT_EQ(kept.substr(0, Header(0).size()), Header(0));
  EXPECT_EQ(RowLines(kept), std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  ExpectEndOfRunControls();
}

// A tmpfs of a few pages, filled so that the record file gets one page.
class RecordOnSmallDisk : public RecordRun {
 protected:
  void SetUp() override {
    RecordRun::SetUp();
    if (HasFatalFailure()) return;
    mountPoint_ = tmp_.filePath(QStringLiteral("small")).toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(mountPoint_)));
    if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=32k") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(mountPoint_.c_str(), MNT_DETACH);
    RecordRun::TearDown();
  }

  // Fills the file system up to `freePages` pages.
  void FillUpTo(unsigned long freePages) {
    struct statvfs fs {};
    ASSERT_EQ(statvfs(mountPoint_.c_str(), &fs), 0);
    ASSERT_GT(fs.f_bavail, freePages);
    const std::string filler(static_cast<std::size_t>((fs.f_bavail - freePages) * fs.f_bsize), 'x');
    const int fd = open((mountPoint_ + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, filler.data(), filler.size()), static_cast<ssize_t>(filler.size()));
    close(fd);
  }

  std::string mountPoint_;
  bool mounted_ = false;
};

TEST_F(RecordOnSmallDisk, DiskFullMidRunEndsTheRunAndKeepsEveryCountedRow) {
  FillUpTo(1);
  SetRecordFile(mountPoint_ + "/RVimRecord.dat");
  Sim().setPacing(sim::Pacing::Instant);  // a page of rows in well under a second
  Settings(0, 5000);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  const int shown = Value(panelPopUp, POPUP_RECCOUNT);
  const std::string file = File();
  // One 4096-byte page: the header and as many whole rows as fit, no half row.
  EXPECT_EQ(file.size(),
            Header(0).size() + static_cast<std::size_t>(shown) * (LiveRow().size() + 1));
  EXPECT_GT(file.size() + LiveRow().size() + 1, 4096u);
  EXPECT_EQ(Rows(), std::vector<std::string>(static_cast<std::size_t>(shown), LiveRow()));
  ExpectEveryCountOnDisk();
  ExpectEndOfRunControls();
}

TEST_F(RecordOnSmallDisk, DiskFullAtTheStartEndsTheRunBeforeAnyRequest) {
  FillUpTo(0);
  SetRecordFile(mountPoint_ + "/RVimRecord.dat");
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_TRUE(RowLines(File()).empty());
  EXPECT_EQ(Sim().requestCount(), 0u);
  ExpectEndOfRunControls();
}

}  // namespace
