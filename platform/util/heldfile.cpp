// The record file held open and locked for a run.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/util/files.h"
#include "platform/util/utility.h"

namespace {

int gHeldFd = -1;

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
  if (unlink(fileName) != 0 && errno != ENOENT) return kFileCannotOpen;
  // O_EXCL: whatever could not be deleted is never appended to.
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
