// Every parameter at its default, as the program starts.
#pragma once

#include "link/link.h"

// maxmode has no default of its own: it starts at 0.
inline void AllDefaults() {
  SetParameterDefaults();
  maxmode = 0;
}
