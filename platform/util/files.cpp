// Shared pieces of the file operations: checked POSIX I/O and its seams.
#include "platform/util/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/util/utility.h"

namespace rvutil {

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
