// The program's own panels for tests: the real resource file beside the test
// binary, with the program's callback table bound.
#pragma once

#include "app/callbacks.h"
#include "platform/userint.h"
#include "platform/utility.h"

namespace testsupport {

// Handle of panel `resourceId` of RVIMZEL4V14.uir, or a negative result.
inline int LoadProgramPanel(int resourceId) {
  RegisterCallbacks(kCallbackTable, kCallbackCount);
  char dir[kMaxPathname] = "";
  char path[kMaxPathname] = "";
  if (GetProjectDir(dir) != 0 || MakePathname(dir, "RVIMZEL4V14.uir", path) != 0) return -1;
  return LoadPanel(0, path, resourceId);
}

}  // namespace testsupport
