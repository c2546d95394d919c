// Test programs that link the whole program bind its callback table.
#include "app/callbacks.h"
#include "tests/support/program_panels.h"

namespace {

[[maybe_unused]] const bool kBound = testsupport::BindCallbacks(kCallbackTable, kCallbackCount);

}  // namespace
