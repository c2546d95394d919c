// The branding tests run the branding module's own callback.
#include "branding/branding.h"
#include "tests/support/program_panels.h"

namespace {

[[maybe_unused]] const bool kBound = testsupport::BindCallbacks({
    {"CC_TOGBTNparaII", CC_TOGBTNparaII, nullptr},
});

}  // namespace
