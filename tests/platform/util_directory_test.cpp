// The directory a file's new entry is synced in: the one that holds it, also
// for a bare name and for a file at the root.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/util/files.h"
#include "platform/util/utility.h"

namespace {

struct DirectoryCase {
  const char *path;
  const char *directory;
};

const DirectoryCase kDirectories[] = {
    {"held.dat", "."},       {"/held.dat", "/"},  {"/tmp/run/held.dat", "/tmp/run"},
    {"run/held.dat", "run"}, {"./held.dat", "."},
};

TEST(FileDirectory, IsTheOneThatHoldsTheFile) {
  for (const DirectoryCase &c : kDirectories) {
    EXPECT_EQ(rvutil::DirectoryOf(c.path), c.directory) << c.path;
  }
}

// A held file named without a directory lives in the working directory.
TEST(FileDirectory, HeldFileByBareNameIsCreatedInTheWorkingDirectory) {
  char pattern[] = "/tmp/rvdirXXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  char *before = getcwd(nullptr, 0);
  ASSERT_NE(before, nullptr);
  ASSERT_EQ(chdir(pattern), 0);
  EXPECT_EQ(CreateHeldFile("held.dat"), kFileOk);
  EXPECT_EQ(HeldFileInPlace((std::string(pattern) + "/held.dat").c_str()), 1);
  CloseHeldFile();
  EXPECT_EQ(chdir(before), 0);
  std::free(before);
  EXPECT_EQ(unlink((std::string(pattern) + "/held.dat").c_str()), 0);
  EXPECT_EQ(rmdir(pattern), 0);
}

}  // namespace
