// The recorder tests run the recorder module's own callbacks.
#include "recorder/recorder.h"
#include "tests/support/program_panels.h"

namespace {

[[maybe_unused]] const bool kBound = testsupport::BindCallbacks({
    {"CC_NEDITRecTime", CC_NEDITRecTime, nullptr},
    {"CC_NEDITRecSamples", CC_NEDITRecSamples, nullptr},
    {"CC_RecordFileNameBtn", CC_RecordFileNameBtn, nullptr},
    {"CC_BTNStartRecord", CC_BTNStartRecord, nullptr},
    {"CC_BTNStopRecord", CC_BTNStopRecord, nullptr},
});

}  // namespace
