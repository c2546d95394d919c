// The program's own callbacks (panels and port selector), and the table that
// binds every callback the resource file names; each module declares its own.
#pragma once

#include "branding/branding.h"
#include "datamem/datamem.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "recorder/recorder.h"
#include "scope/scope.h"

// Panel callbacks.
int CC_PANEL(int panel, int event, void *callbackData, int eventData1, int eventData2);
int CC_POPUP(int panel, int event, void *callbackData, int eventData1, int eventData2);

// Control callbacks.
int CC_DropDCom(int panel, int control, int event, void *callbackData, int eventData1,
                int eventData2);
// Opens the line monitor (also Ctrl+L, the button's shortcut).
int CC_BTNMonitor(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);

// The registry LoadPanel resolves the resource file's callback names against.
extern const CallbackEntry kCallbackTable[];
extern const int kCallbackCount;
