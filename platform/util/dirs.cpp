// The executable's, the resource and the program directory.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstring>
#include <string>

#include "platform/util/appdirs.h"
#include "platform/util/types.h"
#include "platform/util/utility.h"

namespace {

const char kResourceFile[] = "RVIMZEL4V14.uir";
const char kShareSubdir[] = "/../share/rvimzel4";
const char kUserSubdir[] = "RVIMZEL4V14";

bool (*writableCheck)(const std::string &) = nullptr;

bool CopyIfFits(const std::string &text, char out[]) {
  if (text.size() >= static_cast<std::size_t>(kMaxPathname)) return false;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

std::string ExecutableDir() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) {
    if (QCoreApplication::instance() == nullptr) return {};
    return QCoreApplication::applicationDirPath().toStdString();
  }
  exe[n] = '\0';
  char *slash = std::strrchr(exe, '/');
  if (slash == exe) return "/";
  if (slash != nullptr) *slash = '\0';
  return exe;
}

bool HoldsResourceFile(const std::string &dir) {
  struct stat st {};
  return stat((dir + "/" + kResourceFile).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirWritable(const std::string &dir) {
  if (writableCheck != nullptr) return writableCheck(dir);
  return access(dir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

namespace appdirs {

std::string ResourceDirFor(const std::string &exeDir) {
  if (HoldsResourceFile(exeDir)) return exeDir;
  const std::string shared =
      QDir::cleanPath(QString::fromStdString(exeDir + kShareSubdir)).toStdString();
  return HoldsResourceFile(shared) ? shared : exeDir;
}

std::string ChooseProgramDir(const ProgramDirFacts &facts) {
  if (facts.resourceBeside && facts.writable) return facts.exeDir;
  return facts.userDir;
}

std::string UserProgramDir() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (base.isEmpty()) base = QDir::homePath();
  return QDir(base).filePath(kUserSubdir).toStdString();
}

void SetWritableCheck(bool (*check)(const std::string &dir)) {
  writableCheck = check;
}

}  // namespace appdirs

int GetExecutableDir(char directory[]) {
  if (directory == nullptr) return kFileBadArgument;
  const std::string dir = ExecutableDir();
  if (dir.empty()) return kFileCannotOpen;
  return CopyIfFits(dir, directory) ? 0 : kFileCannotOpen;
}

int GetResourceDir(char directory[]) {
  if (directory == nullptr) return kFileBadArgument;
  const std::string exeDir = ExecutableDir();
  if (exeDir.empty()) return kFileCannotOpen;
  const std::string dir = appdirs::ResourceDirFor(exeDir);
  return CopyIfFits(dir, directory) ? 0 : kFileCannotOpen;
}

int GetProjectDir(char directory[]) {
  if (directory == nullptr) return kFileBadArgument;
  appdirs::ProgramDirFacts facts;
  facts.exeDir = ExecutableDir();
  if (facts.exeDir.empty()) return kFileCannotOpen;
  facts.resourceBeside = HoldsResourceFile(facts.exeDir);
  facts.writable = facts.resourceBeside && DirWritable(facts.exeDir);
  if (!facts.writable) facts.userDir = appdirs::UserProgramDir();
  // Not made here: a recording or a file popup makes it when first used.
  const std::string dir = appdirs::ChooseProgramDir(facts);
  return CopyIfFits(dir, directory) ? 0 : kFileCannotOpen;
}
