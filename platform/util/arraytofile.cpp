// ArrayToFile: arrays of numbers to ASCII or raw-byte files, replaced
// atomically or appended durably.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/util/arrayshape.h"
#include "platform/util/files.h"
#include "platform/util/logging.h"
#include "platform/util/types.h"
#include "platform/util/utility.h"

namespace {

using rvutil::ArrayShape;

template <typename T>
T Load(const void *array, int index) {
  T value;
  std::memcpy(&value, static_cast<const char *>(array) + sizeof(T) * index, sizeof(T));
  return value;
}

template <typename T>
void AppendNumber(std::string *out, T value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out->append(text, result.ptr);
}

void AppendValue(std::string *out, const void *array, int dataType, int index) {
  switch (dataType) {
    case VAL_CHAR:
      AppendNumber(out, static_cast<int>(Load<signed char>(array, index)));
      break;
    case VAL_UNSIGNED_CHAR:
      AppendNumber(out, static_cast<unsigned>(Load<unsigned char>(array, index)));
      break;
    case VAL_SHORT_INTEGER:
      AppendNumber(out, static_cast<int>(Load<int16_t>(array, index)));
      break;
    case VAL_UNSIGNED_SHORT_INTEGER:
      AppendNumber(out, static_cast<unsigned>(Load<uint16_t>(array, index)));
      break;
    case VAL_INTEGER:
      AppendNumber(out, Load<int32_t>(array, index));
      break;
    case VAL_UNSIGNED_INTEGER:
      AppendNumber(out, Load<uint32_t>(array, index));
      break;
    case VAL_FLOAT:
      AppendNumber(out, Load<float>(array, index));
      break;
    default:
      AppendNumber(out, Load<double>(array, index));
      break;
  }
}

// One value in its column: right-aligned in fieldWidth for constant width
// (with at least one blank between columns), else after the separator.
void AppendField(std::string *out, const std::string &value, int column, int separation,
                 int fieldWidth) {
  if (separation == VAL_SEP_BY_TAB || separation == VAL_SEP_BY_COMMA) {
    if (column > 0) out->push_back(separation == VAL_SEP_BY_TAB ? '\t' : ',');
    out->append(value);
    return;
  }
  const int width = static_cast<int>(value.size());
  int pad = fieldWidth > width ? fieldWidth - width : 0;
  if (column > 0 && pad == 0) pad = 1;
  out->append(static_cast<std::size_t>(pad), ' ');
  out->append(value);
}

std::string FormatAscii(const void *array, int dataType, const ArrayShape &shape, int separation,
                        int fieldWidth) {
  std::string out;
  std::string value;
  const int perLine = shape.PerLine();
  for (int s = 0; s < shape.elements; ++s) {
    value.clear();
    AppendValue(&value, array, dataType, shape.ArrayIndexOfFileValue(s));
    AppendField(&out, value, s % perLine, separation, fieldWidth);
    if (s % perLine == perLine - 1) out.push_back('\n');
  }
  return out;
}

// Writes into an existing file that is not a regular file (a device, a pipe):
// there is nothing to rename over.
int WriteInPlace(const char *path, const std::string &content) {
  const int fd = open(path, O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return kFileCannotOpen;
  const bool ok = rvutil::WriteAll(fd, content);
  close(fd);
  return ok ? kFileOk : kFileWriteFailed;
}

int OpenTempBeside(const std::string &path, mode_t mode, std::string *tempPath) {
  static std::atomic<unsigned> counter{0};
  const std::string dir = rvutil::DirectoryOf(path);
  // A short name of its own: the file's name may already be near the
  // 255-character limit of a directory entry.
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tempPath = dir + "/.rvim-save-" + std::to_string(getpid()) + "_" +
                std::to_string(counter.fetch_add(1));
    const int fd = open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Replaces the file: temporary file in the same directory, written, synced,
// renamed over the old one. On any failure the old file stays as it was.
int ReplaceFile(const char *fileName, const std::string &content) {
  std::string path(fileName);
  struct stat link {};
  if (lstat(fileName, &link) == 0 && S_ISLNK(link.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(fileName, resolved) != nullptr) path = resolved;
  }
  struct stat old {};
  const bool exists = stat(path.c_str(), &old) == 0;
  // The rename would replace a file the user may not write.
  if (exists && !rvutil::MayWrite(path.c_str())) return kFileCannotOpen;
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(path.c_str(), content);
  std::string tempPath;
  const int fd = OpenTempBeside(path, exists ? (old.st_mode & 07777) : 0666, &tempPath);
  if (fd < 0) return kFileCannotOpen;
  if (exists) fchmod(fd, old.st_mode & 07777);
  bool ok = rvutil::WriteAll(fd, content) && rvutil::Sync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (!ok) {
    unlink(tempPath.c_str());
    return kFileWriteFailed;
  }
  if (rename(tempPath.c_str(), path.c_str()) != 0) {
    unlink(tempPath.c_str());
    return kFileCannotOpen;
  }
  rvutil::SyncDirectory(rvutil::DirectoryOf(path));
  return kFileOk;
}

// Appends and syncs, so a row that was counted survives a crash (the held
// file's holder syncs it at a time of its choosing). A failed write is cut
// back off, leaving no half row behind.
int AppendToFile(const char *fileName, const std::string &content) {
  const int fd = open(fileName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return kFileCannotOpen;
  struct stat before {};
  const bool regular = fstat(fd, &before) == 0 && S_ISREG(before.st_mode);
  bool ok = rvutil::WriteAll(fd, content);
  if (ok && !rvutil::IsHeldFile(fd) && rvutil::Sync(fd) != 0 && regular) ok = false;
  if (!ok && regular && ftruncate(fd, before.st_size) != 0) {
    // Nothing more can be done; the error below reports the failure.
  }
  close(fd);
  return ok ? kFileOk : kFileWriteFailed;
}

}  // namespace

int ArrayToFile(const char *fileName, const void *array, int dataType, int numberOfElements,
                int numberOfGroups, int dataOrder, int fileLayout, int columnSeparation,
                int fieldWidth, int fileType, int fileAction) {
  if (!rvutil::PathFits(fileName)) return kFileCannotOpen;
  const ArrayShape shape{numberOfElements, numberOfGroups, dataOrder, fileLayout};
  if (rvutil::CheckShape(shape, dataType) != kFileOk) return kFileBadArgument;
  if (array == nullptr && numberOfElements > 0) return kFileBadArgument;
  if (fileType != VAL_ASCII && fileType != VAL_BINARY) return kFileBadArgument;
  if (fileAction != VAL_TRUNCATE && fileAction != VAL_APPEND) return kFileBadArgument;

  std::string content;
  if (fileType == VAL_BINARY) {
    if (numberOfElements > 0)
      content.assign(static_cast<const char *>(array),
                     rvutil::ElementSize(dataType) * static_cast<std::size_t>(numberOfElements));
  } else {
    content = FormatAscii(array, dataType, shape, columnSeparation, fieldWidth);
  }
  const int result =
      fileAction == VAL_APPEND ? AppendToFile(fileName, content) : ReplaceFile(fileName, content);
  if (result != kFileOk) qCDebug(lcFiles, "%s not written: error %d", fileName, result);
  return result;
}

int WriteFileAtomically(const char *fileName, const void *bytes, std::size_t count) {
  if (!rvutil::PathFits(fileName)) return kFileCannotOpen;
  if (bytes == nullptr && count > 0) return kFileBadArgument;
  const std::string content =
      count > 0 ? std::string(static_cast<const char *>(bytes), count) : std::string();
  const int result = ReplaceFile(fileName, content);
  if (result != kFileOk) qCDebug(lcFiles, "%s not written: error %d", fileName, result);
  return result;
}
