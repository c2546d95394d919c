// Shared pieces of the file operations: element sizes, array shapes, I/O.
#include "platform/util/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/util/types.h"
#include "platform/util/utility.h"

namespace rvutil {

std::size_t ElementSize(int dataType) {
  switch (dataType) {
    case VAL_CHAR:
    case VAL_UNSIGNED_CHAR:
      return 1;
    case VAL_SHORT_INTEGER:
    case VAL_UNSIGNED_SHORT_INTEGER:
      return 2;
    case VAL_INTEGER:
    case VAL_UNSIGNED_INTEGER:
    case VAL_FLOAT:
      return 4;
    case VAL_DOUBLE:
      return 8;
    default:
      return 0;
  }
}

int ArrayShape::PerLine() const {
  return fileLayout == VAL_GROUPS_AS_ROWS ? PerGroup() : groups;
}

int ArrayShape::ArrayIndexOfFileValue(int s) const {
  const int perGroup = PerGroup();
  int group = 0;
  int index = 0;
  if (fileLayout == VAL_GROUPS_AS_ROWS) {
    group = s / perGroup;
    index = s % perGroup;
  } else {
    group = s % groups;
    index = s / groups;
  }
  return dataOrder == VAL_DATA_MULTIPLEXED ? index * groups + group : group * perGroup + index;
}

int CheckShape(const ArrayShape &shape, int dataType) {
  if (ElementSize(dataType) == 0) return kFileBadArgument;
  if (shape.elements < 0 || shape.groups <= 0) return kFileBadArgument;
  if (shape.elements % shape.groups != 0) return kFileBadArgument;
  if (shape.dataOrder != VAL_GROUPS_TOGETHER && shape.dataOrder != VAL_DATA_MULTIPLEXED) {
    return kFileBadArgument;
  }
  if (shape.fileLayout != VAL_GROUPS_AS_COLUMNS && shape.fileLayout != VAL_GROUPS_AS_ROWS) {
    return kFileBadArgument;
  }
  return kFileOk;
}

bool PathFits(const char *fileName) {
  if (fileName == nullptr || fileName[0] == '\0') return false;
  return std::strlen(fileName) < static_cast<std::size_t>(kMaxPathname);
}

bool WriteAll(int fd, const std::string &text) {
  const char *p = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

namespace {
bool (*gWriteCheck)(const char *path) = nullptr;
}  // namespace

bool MayWrite(const char *path) {
  if (gWriteCheck != nullptr) return gWriteCheck(path);
  return access(path, W_OK) == 0;
}

void SetWriteCheckForTest(bool (*check)(const char *path)) {
  gWriteCheck = check;
}

namespace {
int (*gSync)(int fd) = nullptr;
}  // namespace

int Sync(int fd) {
  return gSync != nullptr ? gSync(fd) : fsync(fd);
}

void SetSyncForTest(int (*sync)(int fd)) {
  gSync = sync;
}

std::string DirectoryOf(const std::string &path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string &dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

int ReadWholeFile(const char *fileName, std::string *content) {
  // O_NONBLOCK: opening a pipe without a writer must not wait.
  const int fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kFileCannotOpen;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxReadBytes) {
    close(fd);
    return kFileCannotOpen;
  }
  content->clear();
  char chunk[4096];
  int result = kFileOk;
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result = kFileReadFailed;
    if (n <= 0) break;
    content->append(chunk, static_cast<std::size_t>(n));
    if (content->size() > static_cast<std::size_t>(kMaxReadBytes)) {
      result = kFileCannotOpen;  // grew while being read
      break;
    }
  }
  close(fd);
  return result;
}

}  // namespace rvutil

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
