// The parameter file: its format, the round trip through Send and Get, and
// what happens to files that are damaged or cannot be written.
#include "params/parafile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <string>

#include "params/params.h"
#include "platform/util/files.h"
#include "tests/params/operator_panels.h"

namespace {

// Bytes this process has read so far, by every read call.
long long BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

class ParaFile : public OperatorPanels {
 protected:
  void SetUp() override {
    OperatorPanels::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(dir_.isValid());
    std::strcpy(proj_dir, dir_.path().toLocal8Bit().constData());
    SetParameterDefaults();
    SetPanelValues();
    ClickRadio(PANEL_RBTFILE);
    ASSERT_EQ(target, DATFILE);
    SetOverwriteConfirmAnswer([](const std::string &) { return true; });
  }
  void TearDown() override {
    SetFilePopupAnswer({});
    SetOverwriteConfirmAnswer({});
    OperatorPanels::TearDown();
  }

  std::string PathOf(const char *name) const { return dir_.filePath(name).toStdString(); }

  // The operator chooses this path in the next file popups.
  static void Choose(const std::string &path) {
    SetFilePopupAnswer([path](const FilePopupRequest &, std::string *chosen) {
      *chosen = path;
      return true;
    });
  }

  void Save(const std::string &path) {
    Choose(path);
    Click(PANEL_BTNSEND);
  }
  void Load(const std::string &path) {
    Choose(path);
    Click(PANEL_BTNGET);
  }

  static std::string Content(const std::string &path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
  }
  static void Write(const std::string &path, const std::string &content) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content.data(), static_cast<qint64>(content.size()));
  }

  // 32 lines from values, each line ended by `end`.
  static std::string Lines(const std::vector<std::string> &values, const char *end = "\n") {
    std::string text;
    for (const std::string &v : values) text += v + end;
    return text;
  }
  static std::vector<std::string> DefaultFileValues() {
    std::vector<std::string> values(32, "0");
    values[16] = "1";
    return values;
  }

  // Sets the nineteen variables to distinct values that every control can
  // show, and shows them.
  static void SetDistinctVariables() {
    uint16_t v = 100;
    for (uint16_t *var :
         {&powerA, &refA, &tolA, &triglvlA, &hysteresis, &polarity, &hold, &average, &hwmode,
          &outmode, &anamode, &sdelay, &maxmode, &powerB, &refB, &tolB, &triglvlB})
      *var = v++;
    evalmode = 1;
    trigmode = 4;
    SetPanelValues();
  }
  static std::array<uint16_t, 19> AllVariables() {
    return {powerA,  refA,   tolA,     triglvlA, hysteresis, polarity, hold,
            average, hwmode, evalmode, trigmode, outmode,    anamode,  sdelay,
            maxmode, powerB, refB,     tolB,     triglvlB};
  }

  QTemporaryDir dir_;
};

TEST_F(ParaFile, RoundTripRestoresAllNineteenVariablesAndThePanels) {
  SetDistinctVariables();
  const auto saved = AllVariables();
  Save(PathOf("set.cfg"));
  EXPECT_EQ(Status(), "Parameter file saved!");

  // 32 lines, each a value right-aligned in five characters.
  const std::string text = Content(PathOf("set.cfg"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 32);
  EXPECT_EQ(text.substr(0, 12), "    0\n  100\n");
  EXPECT_EQ(text.substr(16 * 6, 12), "    1\n  113\n");

  SetParameterDefaults();
  SetPanelValues();
  Load(PathOf("set.cfg"));
  EXPECT_EQ(AllVariables(), saved);
  EXPECT_EQ(Value(panelHandle, PANEL_REFB), 114);
  EXPECT_EQ(Value(panelPopUp, POPUP_DROPTRIGMODE), 4);
  EXPECT_EQ(Status(), "Parameter file read!");
}

TEST_F(ParaFile, AllZeroVariablesGiveZeroOnEveryLineButLine17) {
  for (uint16_t *var : {&powerA, &refA, &tolA, &triglvlA, &hysteresis, &polarity, &hold, &average,
                        &hwmode, &evalmode, &trigmode, &outmode, &anamode, &sdelay, &maxmode,
                        &powerB, &refB, &tolB, &triglvlB})
    *var = 0;
  SetPanelValues();
  Save(PathOf("zero.cfg"));
  std::vector<std::string> values(32, "    0");
  values[16] = "    1";
  EXPECT_EQ(Content(PathOf("zero.cfg")), Lines(values));
}

TEST_F(ParaFile, SetsAreTakenByPositionAndValuesKeepTheirLow16Bits) {
  std::vector<std::string> values = DefaultFileValues();
  values[1] = "70000";        // powerA
  values[16] = "0";           // selector of the channel-B set: ignored
  values[17] = "4294967295";  // powerB
  values[20] = "123";         // triglvlB
  Write(PathOf("wide.cfg"), Lines(values));
  Load(PathOf("wide.cfg"));
  EXPECT_EQ(powerA, 4464);
  EXPECT_EQ(powerB, 65535);
  EXPECT_EQ(triglvlB, 123);
  EXPECT_EQ(Value(panelHandle, PANEL_POWERA), 4464);
}

TEST_F(ParaFile, BlanksAndCrLfLineEndsAreRead) {
  std::vector<std::string> values = DefaultFileValues();
  values[2] = "  321  ";  // refA
  values[31] = "\t9";
  Write(PathOf("dos.cfg"), Lines(values, "\r\n"));
  Load(PathOf("dos.cfg"));
  EXPECT_EQ(refA, 321);
  EXPECT_EQ(Status(), "Parameter file read!");
}

TEST_F(ParaFile, ByteOrderMarkAndBlankLinesAtTheEndAreRead) {
  std::vector<std::string> values = DefaultFileValues();
  values[0] = "\xEF\xBB\xBF" + values[0];
  values[3] = "55";  // tolA
  values.push_back("");
  values.push_back(" \t");
  Write(PathOf("long.cfg"), Lines(values, "\r\n"));
  Load(PathOf("long.cfg"));
  EXPECT_EQ(tolA, 55);
  EXPECT_EQ(Status(), "Parameter file read!");
}

struct BadFile {
  const char *what;
  int line;            // 0-based line to replace, or -1 to drop the last line
  const char *value;   // what that line holds
  const char *status;  // what the status line says
};

class DamagedFile : public ParaFile, public testing::WithParamInterface<BadFile> {};

TEST_P(DamagedFile, LeavesEveryVariableAndTheOldPanelValuesAlone) {
  SetDistinctVariables();
  const auto before = AllVariables();
  std::vector<std::string> values = DefaultFileValues();
  if (GetParam().line < 0) {
    values.pop_back();
  } else if (GetParam().line >= 32) {
    values.push_back(GetParam().value);
  } else {
    values[static_cast<std::size_t>(GetParam().line)] = GetParam().value;
  }
  Write(PathOf("bad.cfg"), Lines(values));
  Load(PathOf("bad.cfg"));
  EXPECT_EQ(AllVariables(), before) << GetParam().what;
  EXPECT_EQ(Value(panelHandle, PANEL_POWERA), before[0]);
  EXPECT_EQ(Status(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Read, DamagedFile,
    testing::Values(
        BadFile{"ThirtyOneValues", -1, "", "Parameter file NOT read - fewer than 32 values!"},
        BadFile{"Letters", 5, "12a", "Parameter file NOT read - invalid value!"},
        BadFile{"Negative", 20, "-1", "Parameter file NOT read - invalid value!"},
        BadFile{"PlusSign", 2, "+5", "Parameter file NOT read - invalid value!"},
        BadFile{"Fraction", 30, "1.5", "Parameter file NOT read - invalid value!"},
        BadFile{"Beyond32Bits", 1, "4294967296", "Parameter file NOT read - invalid value!"},
        BadFile{"TwoValuesOnALine", 7, "3 4", "Parameter file NOT read - invalid value!"},
        BadFile{"ThirtyThreeLines", 32, "0", "Parameter file NOT read - not a parameter file!"}),
    [](const testing::TestParamInfo<BadFile> &row) { return std::string(row.param.what); });

TEST_F(ParaFile, MissingOrEmptyFileChangesNothing) {
  SetDistinctVariables();
  const auto before = AllVariables();
  Load(PathOf("absent.cfg"));
  EXPECT_EQ(AllVariables(), before);
  EXPECT_EQ(Status(), "Parameter file NOT read - cannot open file!");

  Write(PathOf("empty.cfg"), "");
  Load(PathOf("empty.cfg"));
  EXPECT_EQ(AllVariables(), before);
  EXPECT_EQ(Status(), "Parameter file NOT read - fewer than 32 values!");
}

TEST_F(ParaFile, CancelledSaveWritesNothing) {
  SetFilePopupAnswer([](const FilePopupRequest &, std::string *) { return false; });
  Click(PANEL_BTNSEND);
  EXPECT_EQ(Status(), "Transmit...");
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A file that cannot grow (the limit on file size stands in for a full disk,
// and holds for root too) is not replaced: the old one stays byte for byte.
TEST_F(ParaFile, FailedWriteKeepsTheOldFile) {
  const std::string path = PathOf("keep.cfg");
  const std::string old = "old content\n";
  Write(path, old);
  SetDistinctVariables();
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Save(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(Status(), "Parameter file NOT saved!");
  EXPECT_EQ(Content(path), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("keep.cfg")});
}

TEST_F(ParaFile, UnwritablePlacesAreReportedAndCreateNothing) {
  // The directory disappears between the choice and the write.
  const std::string gone = PathOf("gone");
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(gone)));
  SetFilePopupAnswer([gone](const FilePopupRequest &, std::string *chosen) {
    *chosen = gone + "/p.cfg";
    return QDir(QString::fromStdString(gone)).removeRecursively();
  });
  Click(PANEL_BTNSEND);
  EXPECT_EQ(Status(), "Parameter file NOT saved!");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(gone)));

  // A name longer than any file system allows, in a path that still fits the
  // path buffer (so only under the root directory).
  SetCtrlVal(panelHandle, PANEL_STATUS, "before");
  const std::string longName = "/" + std::string(252, 'n') + ".cfg";
  Save(longName);
  EXPECT_STREQ(file_name, longName.c_str());
  EXPECT_EQ(Status(), "Parameter file NOT saved!");

  // A device that is always full.
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no writable /dev/full here";
  const std::string full = PathOf("full.cfg");
  ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
  SetCtrlVal(panelHandle, PANEL_STATUS, "before");
  Save(full);
  EXPECT_EQ(Status(), "Parameter file NOT saved!");
}

// A pipe without a writer, a device and an oversized file are refused at
// once; none of them may keep the program waiting or reading.
TEST_F(ParaFile, OnlySmallRegularFilesAreRead) {
  SetDistinctVariables();
  const auto before = AllVariables();
  const std::string pipe = PathOf("pipe.cfg");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string device = PathOf("zero.cfg");
  ASSERT_EQ(symlink("/dev/zero", device.c_str()), 0);
  std::string big = Lines(DefaultFileValues());
  big += std::string(64 * 1024 - big.size() + 1, '\n');
  Write(PathOf("big.cfg"), big);
  for (const std::string &path : {pipe, device, PathOf("big.cfg")}) {
    SetCtrlVal(panelHandle, PANEL_STATUS, "before");
    const long long readBefore = BytesReadSoFar();
    Load(path);  // a wait on the pipe would never end
    EXPECT_LT(BytesReadSoFar() - readBefore, 64 * 1024) << path;
    EXPECT_EQ(Status(), "Parameter file NOT read - cannot open file!") << path;
    EXPECT_EQ(AllVariables(), before);
  }
}

// The save replaces a link's target beside the target and keeps the link; a
// file the user may not write (told by the access seam, since root passes
// every access check) stays as it was.
TEST_F(ParaFile, SaveFollowsALinkAndKeepsAFileTheUserMayNotWrite) {
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(PathOf("real"))));
  const std::string target = PathOf("real/t.cfg");
  Write(target, "old\n");
  const std::string link = PathOf("link.cfg");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  SetDistinctVariables();
  Save(link);
  EXPECT_EQ(Status(), "Parameter file saved!");
  EXPECT_TRUE(QFileInfo(QString::fromStdString(link)).isSymLink());
  EXPECT_EQ(Content(target).substr(0, 12), "    0\n  100\n");
  EXPECT_EQ(QDir(QString::fromStdString(PathOf("real"))).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("t.cfg")});

  Write(target, "old\n");
  rvutil::SetWriteCheckForTest([](const char *) { return false; });
  Save(link);
  rvutil::SetWriteCheckForTest(nullptr);
  EXPECT_EQ(Status(), "Parameter file NOT saved!");
  EXPECT_EQ(Content(target), "old\n");
}

}  // namespace
