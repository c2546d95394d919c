// Shared pieces of the file operations: element sizes, array shapes, I/O.
#include "platform/util_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/userint.h"
#include "platform/utility.h"

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

int ReadWholeFile(const char *fileName, std::string *content) {
  const int fd = open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kFileCannotOpen;
  content->clear();
  char chunk[4096];
  int result = kFileOk;
  for (;;) {
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) result = kFileReadFailed;
    if (n <= 0) break;
    content->append(chunk, static_cast<std::size_t>(n));
  }
  close(fd);
  return result;
}

}  // namespace rvutil
