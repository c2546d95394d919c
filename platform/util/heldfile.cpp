// The record file held open and locked for a run.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/util/files.h"
#include "platform/util/utility.h"

std::string rvutil::AsideName(const std::string &path, std::time_t modified, int number) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot <= nameStart) dot = path.size();  // no extension
  std::tm local{};
  localtime_r(&modified, &local);
  char stamp[32] = "";
  std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S", &local);
  std::string name = path.substr(0, dot) + stamp;
  if (number > 1) name += "-" + std::to_string(number);
  return name + path.substr(dot);
}

namespace {

constexpr int kMaxAsideNumber = 999;

int gHeldFd = -1;

// Renames without replacing what `to` names: 0, or errno (EEXIST when taken).
int RenameNoReplace(const char *from, const char *to) {
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the flag: a hard link cannot replace either.
  if (link(from, to) == 0) return unlink(from) == 0 ? 0 : errno;
  if (errno != EPERM && errno != ENOTSUP) return errno;
  struct stat taken {};  // no links either (FAT): look, then rename
  if (lstat(to, &taken) == 0) return EEXIST;
  return rename(from, to) == 0 ? 0 : errno;
}

// An old file of that name goes aside in its folder, named by its
// modification time, so a new recording never destroys the previous one.
// True when nothing is left under the name.
bool MoveAside(const char *fileName) {
  struct stat old {};
  if (lstat(fileName, &old) != 0) return errno == ENOENT;
  for (int number = 1; number <= kMaxAsideNumber; ++number) {
    const std::string aside = rvutil::AsideName(fileName, old.st_mtime, number);
    const int error = RenameNoReplace(fileName, aside.c_str());
    if (error == 0) return true;
    if (error != EEXIST) return false;
  }
  return false;
}

// Another process recording into the old file keeps it locked.
bool LockedElsewhere(const char *fileName) {
  const int fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool locked = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  close(fd);
  return locked;
}

}  // namespace

int CreateHeldFile(const char *fileName) {
  CloseHeldFile();
  if (!rvutil::PathFits(fileName)) return kFileCannotOpen;
  if (LockedElsewhere(fileName)) return kFileInUse;
  if (!MoveAside(fileName)) return kFileCannotOpen;
  // The program directory is made when first used, which may be now.
  QDir().mkpath(QFileInfo(QString::fromLocal8Bit(fileName)).absolutePath());
  // O_EXCL: whatever could not be moved aside is never appended to.
  const int fd = open(fileName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return kFileCannotOpen;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return kFileInUse;
  }
  rvutil::SyncDirectory(rvutil::DirectoryOf(fileName));
  gHeldFd = fd;
  return kFileOk;
}

int HeldFileInPlace(const char *fileName) {
  struct stat held {};
  struct stat named {};
  if (gHeldFd < 0 || fstat(gHeldFd, &held) != 0 || stat(fileName, &named) != 0) return 0;
  return held.st_dev == named.st_dev && held.st_ino == named.st_ino ? 1 : 0;
}

int SyncHeldFile() {
  if (gHeldFd < 0) return kFileCannotOpen;
  return rvutil::Sync(gHeldFd) == 0 ? kFileOk : kFileWriteFailed;
}

bool rvutil::IsHeldFile(int fd) {
  struct stat held {};
  struct stat other {};
  return gHeldFd >= 0 && fstat(gHeldFd, &held) == 0 && fstat(fd, &other) == 0 &&
         held.st_dev == other.st_dev && held.st_ino == other.st_ino;
}

void CloseHeldFile() {
  if (gHeldFd < 0) return;
  close(gHeldFd);
  gHeldFd = -1;
}
