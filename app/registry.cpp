// The one table that binds the resource file's callback names to code.
#include "app/callbacks.h"

const CallbackEntry kCallbackTable[] = {
    {"CC_PANEL", nullptr, CC_PANEL},
    {"CC_POPUP", nullptr, CC_POPUP},
    {"CC_DropDCom", CC_DropDCom, nullptr},
    {"CC_TOGBTNparaII", CC_TOGBTNparaII, nullptr},
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
    {"CC_BTNRun", CC_BTNRun, nullptr},
    {"CC_BTNStop", CC_BTNStop, nullptr},
    {"CC_RNGGraphSource", CC_RNGGraphSource, nullptr},
    {"CC_BINSWpower", CC_BINSWpower, nullptr},
    {"CC_BTNData", CC_BTNData, nullptr},
    {"CC_BTNStartRecord", CC_BTNStartRecord, nullptr},
    {"CC_BTNStopRecord", CC_BTNStopRecord, nullptr},
    {"CC_NEDITRecTime", CC_NEDITRecTime, nullptr},
    {"CC_NEDITRecSamples", CC_NEDITRecSamples, nullptr},
    {"CC_RecordFileNameBtn", CC_RecordFileNameBtn, nullptr},
    {"CC_BTNMonitor", CC_BTNMonitor, nullptr},
};

const int kCallbackCount = sizeof(kCallbackTable) / sizeof(kCallbackTable[0]);
