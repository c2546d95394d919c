// The scope tests run the scope module's own callbacks.
#include "scope/scope.h"
#include "tests/support/program_panels.h"

namespace {

[[maybe_unused]] const bool kBound = testsupport::BindCallbacks({
    {"CC_BTNRun", CC_BTNRun, nullptr},
    {"CC_BTNStop", CC_BTNStop, nullptr},
    {"CC_RNGGraphSource", CC_RNGGraphSource, nullptr},
    {"CC_BINSWpower", CC_BINSWpower, nullptr},
});

}  // namespace
