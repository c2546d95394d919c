#include "platform/ui/numbers.h"

#include "platform/ui/userint.h"

namespace {
template <class T>
double element(const void *array, std::size_t index) {
  return static_cast<double>(static_cast<const T *>(array)[index]);
}
}  // namespace

bool IsNumberType(int dataType) {
  return dataType >= VAL_CHAR && dataType <= VAL_UNSIGNED_CHAR;
}

double NumberAt(const void *array, int dataType, std::size_t index) {
  switch (dataType) {
    case VAL_CHAR:
      return element<signed char>(array, index);
    case VAL_INTEGER:
      return element<int>(array, index);
    case VAL_SHORT_INTEGER:
      return element<short>(array, index);
    case VAL_FLOAT:
      return element<float>(array, index);
    case VAL_DOUBLE:
      return element<double>(array, index);
    case VAL_UNSIGNED_INTEGER:
      return element<unsigned int>(array, index);
    case VAL_UNSIGNED_SHORT_INTEGER:
      return element<unsigned short>(array, index);
    case VAL_UNSIGNED_CHAR:
      return element<unsigned char>(array, index);
    default:
      return 0.0;
  }
}
