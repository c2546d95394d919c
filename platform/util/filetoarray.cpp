// FileToArray: arrays of numbers from ASCII or raw-byte files.
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "platform/util/arrayshape.h"
#include "platform/util/files.h"
#include "platform/util/logging.h"
#include "platform/util/types.h"
#include "platform/util/utility.h"

namespace {

using rvutil::ArrayShape;

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The next line without its line end; false at the end of the text.
bool NextLine(std::string_view text, std::size_t *pos, std::string_view *line) {
  if (*pos >= text.size()) return false;
  std::size_t end = text.find('\n', *pos);
  if (end == std::string_view::npos) end = text.size();
  *line = text.substr(*pos, end - *pos);
  *pos = end + 1;
  return true;
}

// The next field of the text, or an empty view at the end.
std::string_view NextField(std::string_view text, std::size_t *pos) {
  while (*pos < text.size() && IsSeparator(text[*pos])) ++*pos;
  const std::size_t start = *pos;
  while (*pos < text.size() && !IsSeparator(text[*pos])) ++*pos;
  return text.substr(start, *pos - start);
}

// Parses a whole field as an integer of type T; false when it is not one or
// does not fit. Unsigned types take digits only.
template <typename T>
bool ParseInteger(std::string_view field, T *value) {
  const char *first = field.data();
  const char *last = field.data() + field.size();
  if (first != last && *first == '+' && std::numeric_limits<T>::is_signed) ++first;
  if (first == last || (*first == '-' && !std::numeric_limits<T>::is_signed)) return false;
  const auto result = std::from_chars(first, last, *value);
  return result.ec == std::errc() && result.ptr == last;
}

template <typename T>
bool ParseFloating(std::string_view field, T *value) {
  const char *first = field.data();
  const char *last = field.data() + field.size();
  if (first != last && *first == '+') ++first;
  const auto result = std::from_chars(first, last, *value);
  return first != last && result.ec == std::errc() && result.ptr == last;
}

template <typename T>
void Store(void *array, int index, T value) {
  std::memcpy(static_cast<char *>(array) + sizeof(T) * index, &value, sizeof(T));
}

template <typename T>
bool ParseAndStoreAs(std::string_view field, void *array, int index, bool floating) {
  T value{};
  const bool ok = floating ? ParseFloating(field, &value) : ParseInteger(field, &value);
  if (ok) Store(array, index, value);
  return ok;
}

bool ParseAndStore(std::string_view field, int dataType, void *array, int index) {
  switch (dataType) {
    case VAL_CHAR:
      return ParseAndStoreAs<signed char>(field, array, index, false);
    case VAL_UNSIGNED_CHAR:
      return ParseAndStoreAs<unsigned char>(field, array, index, false);
    case VAL_SHORT_INTEGER:
      return ParseAndStoreAs<int16_t>(field, array, index, false);
    case VAL_UNSIGNED_SHORT_INTEGER:
      return ParseAndStoreAs<uint16_t>(field, array, index, false);
    case VAL_INTEGER:
      return ParseAndStoreAs<int32_t>(field, array, index, false);
    case VAL_UNSIGNED_INTEGER:
      return ParseAndStoreAs<uint32_t>(field, array, index, false);
    case VAL_FLOAT:
      return ParseAndStoreAs<float>(field, array, index, true);
    default:
      return ParseAndStoreAs<double>(field, array, index, true);
  }
}

// One line of the layout into the array from file value s on; false when
// the line holds another number of values or one that is not a number.
bool ReadLine(std::string_view line, void *array, int dataType, const ArrayShape &shape, int s) {
  std::size_t pos = 0;
  for (int i = 0; i < shape.PerLine(); ++i) {
    const std::string_view field = NextField(line, &pos);
    if (field.empty() || !ParseAndStore(field, dataType, array, shape.ArrayIndexOfFileValue(s + i)))
      return false;
  }
  return NextField(line, &pos).empty();
}

int ReadAscii(std::string_view text, void *array, int dataType, const ArrayShape &shape) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  std::size_t pos = 0;
  int s = 0;
  std::string_view line;
  while (NextLine(text, &pos, &line)) {
    std::size_t probe = 0;
    if (NextField(line, &probe).empty()) continue;  // blank line
    if (s >= shape.elements) return kFileTooManyValues;
    if (!ReadLine(line, array, dataType, shape, s)) return kFileBadNumber;
    s += shape.PerLine();
  }
  return s < shape.elements ? kFileTooFewValues : kFileOk;
}

int ReadBinary(const std::string &content, void *array, int dataType, int elements) {
  const std::size_t bytes = rvutil::ElementSize(dataType) * static_cast<std::size_t>(elements);
  if (content.size() < bytes) return kFileTooFewValues;
  if (bytes > 0) std::memcpy(array, content.data(), bytes);
  return kFileOk;
}

}  // namespace

int FileToArray(const char *fileName, void *array, int dataType, int numberOfElements,
                int numberOfGroups, int dataOrder, int fileLayout, int fileType) {
  if (!rvutil::PathFits(fileName)) return kFileCannotOpen;
  const ArrayShape shape{numberOfElements, numberOfGroups, dataOrder, fileLayout};
  if (rvutil::CheckShape(shape, dataType) != kFileOk) return kFileBadArgument;
  if (array == nullptr && numberOfElements > 0) return kFileBadArgument;
  if (fileType != VAL_ASCII && fileType != VAL_BINARY) return kFileBadArgument;

  std::string content;
  int result = rvutil::ReadWholeFile(fileName, &content);
  if (result == kFileOk) {
    result = fileType == VAL_BINARY ? ReadBinary(content, array, dataType, numberOfElements)
                                    : ReadAscii(content, array, dataType, shape);
  }
  if (result != kFileOk) qCDebug(lcFiles, "%s not read: error %d", fileName, result);
  return result;
}
