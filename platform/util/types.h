// Shared by the panels and the file operations: data types of value arrays,
// and the longest path (with its terminating NUL) a buffer holds.
#pragma once

enum {
  VAL_CHAR = 0,
  VAL_INTEGER = 1,
  VAL_SHORT_INTEGER = 2,
  VAL_FLOAT = 3,
  VAL_DOUBLE = 4,
  VAL_UNSIGNED_INTEGER = 5,
  VAL_UNSIGNED_SHORT_INTEGER = 6,
  VAL_UNSIGNED_CHAR = 7
};
enum { kMaxPathname = 260 };
