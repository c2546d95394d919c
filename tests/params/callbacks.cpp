// The parameter tests run the parameter module's own callbacks.
#include "params/params.h"
#include "tests/support/program_panels.h"

namespace {

[[maybe_unused]] const bool kBound = testsupport::BindCallbacks({
    {"CC_DROP_EvalMode", CC_DROP_EvalMode, nullptr},
    {"CC_DropTrigmode", CC_DropTrigmode, nullptr},
    {"CC_RBTRam", CC_RBTRam, nullptr},
    {"CC_RBTEeprom", CC_RBTEeprom, nullptr},
    {"CC_RBTFile", CC_RBTFile, nullptr},
    {"CC_BTNSend", CC_BTNSend, nullptr},
    {"CC_BTNGet", CC_BTNGet, nullptr},
    {"CC_ButtonTeach", CC_ButtonTeach, nullptr},
    {"CC_ButtonReset", CC_ButtonReset, nullptr},
    {"CC_ButtonRefresh", CC_ButtonRefresh, nullptr},
});

}  // namespace
