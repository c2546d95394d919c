// Element sizes and where each value of an array lies in a file.
#include "platform/util/arrayshape.h"

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

}  // namespace rvutil
