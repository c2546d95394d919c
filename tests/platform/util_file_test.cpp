// ArrayToFile / FileToArray: the layouts the program writes, round trips,
// atomic replace, durable append and the refused cases.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ui/userint.h"
#include "platform/util/files.h"
#include "platform/util/utility.h"

namespace {

class FileOps : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/rvutilXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    for (const std::string &name : Entries()) std::remove((dir_ + "/" + name).c_str());
    rmdir(dir_.c_str());
  }
  std::string Path(const std::string &name) const { return dir_ + "/" + name; }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    DIR *d = opendir(dir_.c_str());
    while (dirent *e = d != nullptr ? readdir(d) : nullptr) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    if (d != nullptr) closedir(d);
    return names;
  }
  static std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Write(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string dir_;
};

int WriteColumn(const std::string &path, const uint32_t *values, int count, int action) {
  return ArrayToFile(path.c_str(), values, VAL_UNSIGNED_INTEGER, count, 1, VAL_GROUPS_TOGETHER,
                     VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, 5, VAL_ASCII, action);
}

int ReadColumn(const std::string &path, uint32_t *values, int count) {
  return FileToArray(path.c_str(), values, VAL_UNSIGNED_INTEGER, count, 1, VAL_GROUPS_TOGETHER,
                     VAL_GROUPS_AS_COLUMNS, VAL_ASCII);
}

int AppendRow(const std::string &path, const uint32_t (&row)[4]) {
  return ArrayToFile(path.c_str(), row, VAL_UNSIGNED_INTEGER, 4, 4, VAL_GROUPS_TOGETHER,
                     VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII, VAL_APPEND);
}

TEST_F(FileOps, ColumnIsRightAlignedOneValueALineAndReadsBack) {
  uint32_t values[32];
  for (int i = 0; i < 32; ++i) values[i] = static_cast<uint32_t>(i * 37);
  values[1] = 500;
  values[2] = 123456;  // wider than the field: kept whole
  ASSERT_EQ(WriteColumn(Path("p.cfg"), values, 32, VAL_TRUNCATE), kFileOk);
  const std::string text = Read(Path("p.cfg"));
  EXPECT_EQ(text.substr(0, 19), "    0\n  500\n123456\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);

  uint32_t back[32] = {};
  ASSERT_EQ(ReadColumn(Path("p.cfg"), back, 32), kFileOk);
  EXPECT_TRUE(std::equal(values, values + 32, back));
}

TEST_F(FileOps, RecordFileLinesAreExactBytes) {
  const std::string path = Path("rec.dat");
  const char header[] = "R-VIM-ZEL4-RECORDER-FILE: Time-Interval[s]: ";
  ASSERT_EQ(ArrayToFile(path.c_str(), header, VAL_CHAR, 44, 1, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_BINARY, VAL_APPEND),
            kFileOk);
  const uint32_t interval = 10;
  ASSERT_EQ(ArrayToFile(path.c_str(), &interval, VAL_UNSIGNED_INTEGER, 1, 1, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_SEP_BY_TAB, 4, VAL_ASCII, VAL_APPEND),
            kFileOk);
  ASSERT_EQ(AppendRow(path, {1000, 2, 65535, 0}), kFileOk);
  ASSERT_EQ(AppendRow(path, {7, 8, 9, 10}), kFileOk);
  EXPECT_EQ(Read(path), std::string(header) + "10\n1000\t2\t65535\t0\n7\t8\t9\t10\n");
}

TEST_F(FileOps, AppendKeepsWhatWasThere) {
  Write(Path("a.dat"), "old line\n");
  ASSERT_EQ(AppendRow(Path("a.dat"), {1, 2, 3, 4}), kFileOk);
  EXPECT_EQ(Read(Path("a.dat")), "old line\n1\t2\t3\t4\n");
}

int gSyncs = 0;
int CountedSync(int) {
  ++gSyncs;
  return 0;
}

// An append reaches the disk before it returns, except to the held file,
// whose holder syncs it.
TEST_F(FileOps, AppendSyncsAtOnceUnlessTheFileIsHeld) {
  gSyncs = 0;
  rvutil::SetSyncForTest(CountedSync);
  ASSERT_EQ(AppendRow(Path("a.dat"), {1, 2, 3, 4}), kFileOk);
  EXPECT_EQ(gSyncs, 1);
  ASSERT_EQ(CreateHeldFile(Path("held.dat").c_str()), kFileOk);
  ASSERT_EQ(AppendRow(Path("held.dat"), {1, 2, 3, 4}), kFileOk);
  EXPECT_EQ(gSyncs, 1);
  EXPECT_EQ(SyncHeldFile(), kFileOk);
  EXPECT_EQ(gSyncs, 2);
  ASSERT_EQ(AppendRow(Path("a.dat"), {5, 6, 7, 8}), kFileOk);
  EXPECT_EQ(gSyncs, 3);
  CloseHeldFile();
  EXPECT_EQ(SyncHeldFile(), kFileCannotOpen);
  rvutil::SetSyncForTest(nullptr);
}

int FailedSync(int) {
  errno = EIO;
  return -1;
}

// A replacement is on the disk before the rename puts it in place; one the
// disk did not take leaves the old file and no temporary one.
TEST_F(FileOps, ReplaceSyncsTheNewContentAndASyncFailureKeepsTheOldFile) {
  Write(Path("p.cfg"), "old\n");
  const uint32_t values[2] = {1, 2};
  gSyncs = 0;
  rvutil::SetSyncForTest(CountedSync);
  ASSERT_EQ(WriteColumn(Path("p.cfg"), values, 2, VAL_TRUNCATE), kFileOk);
  EXPECT_EQ(gSyncs, 1);
  rvutil::SetSyncForTest(FailedSync);
  EXPECT_EQ(WriteColumn(Path("p.cfg"), values, 1, VAL_TRUNCATE), kFileWriteFailed);
  rvutil::SetSyncForTest(nullptr);
  EXPECT_EQ(Read(Path("p.cfg")), "    1\n    2\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"p.cfg"});
}

TEST_F(FileOps, ReplaceLeavesOnlyTheNewContentAndNoTemporaryFile) {
  Write(Path("p.cfg"), std::string(500, 'x'));
  const uint32_t values[2] = {1, 2};
  ASSERT_EQ(WriteColumn(Path("p.cfg"), values, 2, VAL_TRUNCATE), kFileOk);
  EXPECT_EQ(Read(Path("p.cfg")), "    1\n    2\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"p.cfg"});
}

TEST_F(FileOps, RawBytesAndOtherLayoutsRoundTrip) {
  const uint16_t words[5] = {0, 1, 255, 256, 65535};
  ASSERT_EQ(ArrayToFile(Path("w.bin").c_str(), words, VAL_UNSIGNED_SHORT_INTEGER, 5, 1,
                        VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, 0, VAL_BINARY,
                        VAL_TRUNCATE),
            kFileOk);
  EXPECT_EQ(Read(Path("w.bin")).size(), 10u);
  uint16_t back[5] = {};
  ASSERT_EQ(FileToArray(Path("w.bin").c_str(), back, VAL_UNSIGNED_SHORT_INTEGER, 5, 1,
                        VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_BINARY),
            kFileOk);
  EXPECT_TRUE(std::equal(words, words + 5, back));
  uint16_t six[6] = {};
  EXPECT_EQ(FileToArray(Path("w.bin").c_str(), six, VAL_UNSIGNED_SHORT_INTEGER, 6, 1,
                        VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_BINARY),
            kFileTooFewValues);

  // Two groups of three: as rows, one group per line; multiplexed data.
  const int32_t mixed[6] = {1, -2, 3, -4, 5, -6};  // a0 b0 a1 b1 a2 b2
  ASSERT_EQ(ArrayToFile(Path("m.txt").c_str(), mixed, VAL_INTEGER, 6, 2, VAL_DATA_MULTIPLEXED,
                        VAL_GROUPS_AS_ROWS, VAL_SEP_BY_TAB, 0, VAL_ASCII, VAL_TRUNCATE),
            kFileOk);
  EXPECT_EQ(Read(Path("m.txt")), "1\t3\t5\n-2\t-4\t-6\n");
  int32_t mixedBack[6] = {};
  ASSERT_EQ(FileToArray(Path("m.txt").c_str(), mixedBack, VAL_INTEGER, 6, 2, VAL_DATA_MULTIPLEXED,
                        VAL_GROUPS_AS_ROWS, VAL_ASCII),
            kFileOk);
  EXPECT_TRUE(std::equal(mixed, mixed + 6, mixedBack));

  const double reals[2] = {0.1, -2.5e10};
  ASSERT_EQ(ArrayToFile(Path("d.txt").c_str(), reals, VAL_DOUBLE, 2, 1, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, 8, VAL_ASCII, VAL_TRUNCATE),
            kFileOk);
  double realsBack[2] = {};
  ASSERT_EQ(FileToArray(Path("d.txt").c_str(), realsBack, VAL_DOUBLE, 2, 1, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_ASCII),
            kFileOk);
  EXPECT_EQ(realsBack[0], 0.1);
  EXPECT_EQ(realsBack[1], -2.5e10);
}

TEST_F(FileOps, ReaderAcceptsBlanksTabsAndCrLfAndKeepsUnsigned32) {
  Write(Path("in.cfg"), "  12 \r\n\t70000\r\n4294967295\n0");
  uint32_t values[4] = {};
  ASSERT_EQ(ReadColumn(Path("in.cfg"), values, 4), kFileOk);
  EXPECT_EQ(values[0], 12u);
  EXPECT_EQ(values[1], 70000u);
  EXPECT_EQ(values[2], 4294967295u);
  EXPECT_EQ(values[3], 0u);
}

TEST_F(FileOps, ReaderRefusesBadNumbersShortFilesAndMissingFiles) {
  uint32_t values[3] = {};
  Write(Path("bad.cfg"), "1\n12a\n3\n");
  EXPECT_EQ(ReadColumn(Path("bad.cfg"), values, 3), kFileBadNumber);
  Write(Path("neg.cfg"), "1\n-2\n3\n");
  EXPECT_EQ(ReadColumn(Path("neg.cfg"), values, 3), kFileBadNumber);
  Write(Path("big.cfg"), "1\n4294967296\n3\n");
  EXPECT_EQ(ReadColumn(Path("big.cfg"), values, 3), kFileBadNumber);
  Write(Path("short.cfg"), "1\n2\n");
  EXPECT_EQ(ReadColumn(Path("short.cfg"), values, 3), kFileTooFewValues);
  EXPECT_EQ(ReadColumn(Path("missing.cfg"), values, 3), kFileCannotOpen);
  uint16_t shortValue = 0;
  Write(Path("wide.cfg"), "65536\n");
  EXPECT_EQ(FileToArray(Path("wide.cfg").c_str(), &shortValue, VAL_UNSIGNED_SHORT_INTEGER, 1, 1,
                        VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_ASCII),
            kFileBadNumber);
}

TEST_F(FileOps, PathOfMaxPathnameCharactersIsRefusedWithoutTouchingAnything) {
  const uint32_t value = 1;
  const std::string prefix = dir_ + "/";
  const std::string fits = prefix + std::string(kMaxPathname - 1 - prefix.size(), 'f');
  const std::string tooLong = prefix + std::string(kMaxPathname - prefix.size(), 'g');
  ASSERT_EQ(tooLong.size(), static_cast<std::size_t>(kMaxPathname));
  EXPECT_EQ(WriteColumn(tooLong, &value, 1, VAL_TRUNCATE), kFileCannotOpen);
  EXPECT_EQ(WriteColumn(tooLong, &value, 1, VAL_APPEND), kFileCannotOpen);
  uint32_t back = 0;
  EXPECT_EQ(ReadColumn(tooLong, &back, 1), kFileCannotOpen);
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(WriteColumn(fits, &value, 1, VAL_TRUNCATE), kFileOk);
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(FileOps, MissingDirectoryCannotOpen) {
  const uint32_t value = 1;
  EXPECT_EQ(WriteColumn(Path("no/such.cfg"), &value, 1, VAL_TRUNCATE), kFileCannotOpen);
  EXPECT_EQ(WriteColumn(Path("no/such.dat"), &value, 1, VAL_APPEND), kFileCannotOpen);
}

TEST_F(FileOps, FullDeviceReportsWriteFailure) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "/dev/full is not writable here";
  const uint32_t value = 1;
  EXPECT_EQ(WriteColumn("/dev/full", &value, 1, VAL_TRUNCATE), kFileWriteFailed);
  EXPECT_EQ(WriteColumn("/dev/full", &value, 1, VAL_APPEND), kFileWriteFailed);
}

// A file-size limit makes writes to a regular file fail even for root.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(FileOps, FailedReplaceKeepsTheOldFileAndRemovesTheTemporary) {
  Write(Path("p.cfg"), "old\n");
  uint32_t values[32] = {};
  {
    const FileSizeLimit limit(16);
    EXPECT_EQ(WriteColumn(Path("p.cfg"), values, 32, VAL_TRUNCATE), kFileWriteFailed);
  }
  EXPECT_EQ(Read(Path("p.cfg")), "old\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"p.cfg"});
}

TEST_F(FileOps, FailedAppendLeavesNoHalfRow) {
  Write(Path("r.dat"), "head 10\n");
  {
    const FileSizeLimit limit(12);
    EXPECT_EQ(AppendRow(Path("r.dat"), {1000, 2000, 3000, 4000}), kFileWriteFailed);
  }
  EXPECT_EQ(Read(Path("r.dat")), "head 10\n");
}

TEST_F(FileOps, BadArgumentsAreRefused) {
  const uint32_t values[3] = {};
  EXPECT_EQ(ArrayToFile(Path("x").c_str(), values, 99, 3, 1, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, 5, VAL_ASCII, VAL_TRUNCATE),
            kFileBadArgument);
  EXPECT_EQ(ArrayToFile(Path("x").c_str(), values, VAL_UNSIGNED_INTEGER, 3, 2, VAL_GROUPS_TOGETHER,
                        VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, 5, VAL_ASCII, VAL_TRUNCATE),
            kFileBadArgument);
  EXPECT_TRUE(Entries().empty());
}

}  // namespace
