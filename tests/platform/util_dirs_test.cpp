// Where the program finds its resources and keeps its files: a build or
// portable copy keeps everything beside the executable, an installed copy
// reads from share/rvimzel4 and writes into a per-user directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/ui/userint.h"
#include "platform/util/appdirs.h"
#include "platform/util/utility.h"

namespace {

struct DirCase {
  const char *name;
  bool resourceBeside;
  bool writable;
  bool expectExeDir;
};

const DirCase kDirCases[] = {
    {"writable build copy", true, true, true},
    {"read-only installed bin", false, false, false},
    {"installed bin writable by root", false, true, false},
    {"read-only portable copy", true, false, false},
};

TEST(ProgramDir, ExecutableDirectoryOnlyForAWritableCopyWithItsResourceFile) {
  for (const DirCase &c : kDirCases) {
    appdirs::ProgramDirFacts facts{"/opt/rv/bin", c.resourceBeside, c.writable, "/home/op/Doc/RV"};
    EXPECT_EQ(appdirs::ChooseProgramDir(facts), c.expectExeDir ? "/opt/rv/bin" : "/home/op/Doc/RV")
        << c.name;
  }
}

std::string ExeDir() {
  char dir[kMaxPathname] = "";
  EXPECT_EQ(GetExecutableDir(dir), 0);
  return dir;
}

void Touch(const std::string &path) {
  std::ofstream(path) << "x";
}

TEST(ProgramDir, BuildFolderKeepsTheExecutablesDirectory) {
  char dir[kMaxPathname] = "";
  ASSERT_EQ(GetProjectDir(dir), 0);
  EXPECT_EQ(std::string(dir), ExeDir());
  ASSERT_EQ(GetResourceDir(dir), 0);
  EXPECT_EQ(std::string(dir), ExeDir());
}

TEST(ProgramDir, UnwritableExecutableDirectoryMovesToAPerUserDirectoryMadeOnFirstUse) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  setenv("HOME", home.path().toUtf8().constData(), 1);
  setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8().constData(), 1);
  appdirs::SetWritableCheck([](const std::string &) { return false; });
  char dir[kMaxPathname] = "";
  ASSERT_EQ(GetProjectDir(dir), 0);
  appdirs::SetWritableCheck(nullptr);
  const std::string expected = home.path().toStdString() + "/Documents/RVIMZEL4V14";
  EXPECT_EQ(std::string(dir), expected);
  struct stat st {};
  EXPECT_NE(stat(expected.c_str(), &st), 0) << "not made before it is used";
  ASSERT_EQ(CreateHeldFile((expected + "/RVimRecord.dat").c_str()), kFileOk);
  CloseHeldFile();
  EXPECT_EQ(stat(expected.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(ResourceDir, BesideTheExecutableFirstThenTheSharedDirectory) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const std::string prefix = root.path().toStdString();
  const std::string bin = prefix + "/bin";
  const std::string share = prefix + "/share/rvimzel4";
  ASSERT_EQ(mkdir(bin.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((prefix + "/share").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(share.c_str(), 0755), 0);
  // Nothing anywhere: the executable's directory, where the load then fails.
  EXPECT_EQ(appdirs::ResourceDirFor(bin), bin);
  Touch(share + "/RVIMZEL4V14.uir");
  EXPECT_EQ(appdirs::ResourceDirFor(bin), share);
  Touch(bin + "/RVIMZEL4V14.uir");
  EXPECT_EQ(appdirs::ResourceDirFor(bin), bin);
}

}  // namespace
