// Internal to the file operations of the run-time: element types and the
// shape of an array in a file.
#pragma once

#include <cstddef>

namespace rvutil {

// Bytes of one element of a VAL_ data type; 0 for an unknown type.
std::size_t ElementSize(int dataType);

// Where the s-th value in file order lives in the array, for an array of
// `elements` values in `groups` groups.
struct ArrayShape {
  int elements = 0;
  int groups = 1;
  int dataOrder = 0;   // VAL_GROUPS_TOGETHER or VAL_DATA_MULTIPLEXED
  int fileLayout = 0;  // VAL_GROUPS_AS_COLUMNS or VAL_GROUPS_AS_ROWS
  int PerGroup() const { return elements / groups; }
  // Values on one line of the file.
  int PerLine() const;
  int ArrayIndexOfFileValue(int s) const;
};
// kFileOk when the shape and type make sense, else kFileBadArgument.
int CheckShape(const ArrayShape &shape, int dataType);

}  // namespace rvutil
