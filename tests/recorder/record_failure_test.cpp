// A record file that cannot be written ends the run with a status text and
// keeps the rows already written.
#include <sys/resource.h>

#include <QDir>
#include <csignal>

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

TEST_F(RecordOnSmallDisk, DiskFullAtTheStartEndsTheRunBeforeAnyRequest) {
  FillUpTo(0);
  Settings(0, 10);
  Record();
  EXPECT_EQ(Status(), kWriteErrorText);
  EXPECT_TRUE(RowLines(File()).empty());
  EXPECT_EQ(Sim().requestCount(), 0u);
  ExpectEndOfRunControls();
}

}  // namespace
