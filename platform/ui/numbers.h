// Internal to the user-interface run-time: reading the program's typed
// number arrays (VAL_DOUBLE, VAL_UNSIGNED_SHORT_INTEGER, ...).
#pragma once

#include <cstddef>

bool IsNumberType(int dataType);
// Element `index` of an array of `dataType`, as a double.
double NumberAt(const void *array, int dataType, std::size_t index);
