// The program's own panels for tests: the real resource file beside the test
// binary. A test program binds the callbacks of the modules it links by name;
// every other callback the file names does nothing, so a module's tests load
// the real panels with that module alone.
#pragma once

#include <initializer_list>

#include "platform/ui/userint.h"

namespace testsupport {

// Replaces the bound callbacks; returns true, so that a test program can bind
// its module's callbacks in a static initialiser.
bool BindCallbacks(std::initializer_list<CallbackEntry> entries);
bool BindCallbacks(const CallbackEntry *table, int count);

// Handle of panel `resourceId` of RVIMZEL4V14.uir, or a negative result.
int LoadProgramPanel(int resourceId);

// The callback names of the resource file, nullptr-terminated.
extern const char *const kProgramCallbackNames[];

}  // namespace testsupport
