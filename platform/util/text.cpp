// Text, path and file-system helpers of the run-time.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/util/types.h"
#include "platform/util/utility.h"

namespace {

// Reads "%<digits><letter>" at *cursor; advances past it. False when absent.
bool ReadConversion(const char **cursor, int *count, char letter) {
  const char *p = *cursor;
  if (*p != '%') return false;
  ++p;
  if (*p < '0' || *p > '9') return false;
  long value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p - '0');
    if (value > 1000000) return false;
    ++p;
  }
  if (*p != letter) return false;
  *count = static_cast<int>(value);
  *cursor = p + 1;
  return true;
}

bool CopyIfFits(const std::string &text, char out[]) {
  if (text.size() >= static_cast<std::size_t>(kMaxPathname)) return false;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace

int Fmt(char *target, const char *format, const int *source) {
  if (target == nullptr || format == nullptr || source == nullptr) return kFileBadArgument;
  const char *cursor = format;
  int targetChars = 0;
  int sourceInts = 0;
  if (!ReadConversion(&cursor, &targetChars, 'c')) return kFileBadArgument;
  if (*cursor++ != '<') return kFileBadArgument;
  if (!ReadConversion(&cursor, &sourceInts, 'i') || *cursor != '\0') return kFileBadArgument;
  const int count = sourceInts < targetChars ? sourceInts : targetChars;
  for (int i = 0; i < count; ++i) {
    target[i] = static_cast<char>(static_cast<unsigned>(source[i]) & 0xFFu);
  }
  target[count] = '\0';
  return count;
}

int CVI_DeleteFile(const char *fileName) {
  if (fileName == nullptr || fileName[0] == '\0') return kFileBadArgument;
  if (std::strlen(fileName) >= static_cast<std::size_t>(kMaxPathname)) return kFileCannotOpen;
  if (unlink(fileName) == 0 || errno == ENOENT) return 0;
  return kFileCannotOpen;
}

int StringLength(const char *text) {
  return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

int MakePathname(const char *directory, const char *fileName, char path[]) {
  if (directory == nullptr || fileName == nullptr || path == nullptr) return kFileBadArgument;
  std::string joined(directory);
  if (!joined.empty() && joined.back() != '/') joined += '/';
  joined += fileName;
  return CopyIfFits(joined, path) ? 0 : kFileCannotOpen;
}
