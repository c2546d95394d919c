// Every callback the resource file names, and the table that binds them by name.
#pragma once

#include "platform/userint.h"

// Panel callbacks.
int CC_PANEL(int panel, int event, void *callbackData, int eventData1, int eventData2);
int CC_POPUP(int panel, int event, void *callbackData, int eventData1, int eventData2);

// Control callbacks.
int CC_DropDCom(int panel, int control, int event, void *callbackData, int eventData1,
                int eventData2);
int CC_TOGBTNparaII(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
int CC_DROP_EvalMode(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int CC_DropTrigmode(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
int CC_RBTRam(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_RBTEeprom(int panel, int control, int event, void *callbackData, int eventData1,
                 int eventData2);
int CC_RBTFile(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_BTNSend(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_BTNGet(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_ButtonTeach(int panel, int control, int event, void *callbackData, int eventData1,
                   int eventData2);
int CC_ButtonReset(int panel, int control, int event, void *callbackData, int eventData1,
                   int eventData2);
int CC_ButtonRefresh(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int CC_BTNRun(int panel, int control, int event, void *callbackData, int eventData1,
              int eventData2);
int CC_BTNStop(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_RNGGraphSource(int panel, int control, int event, void *callbackData, int eventData1,
                      int eventData2);
int CC_BINSWpower(int panel, int control, int event, void *callbackData, int eventData1,
                  int eventData2);
int CC_BTNData(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
int CC_BTNStartRecord(int panel, int control, int event, void *callbackData, int eventData1,
                      int eventData2);
int CC_BTNStopRecord(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int CC_NEDITRecTime(int panel, int control, int event, void *callbackData, int eventData1,
                    int eventData2);
int CC_NEDITRecSamples(int panel, int control, int event, void *callbackData, int eventData1,
                       int eventData2);
int CC_RecordFileNameBtn(int panel, int control, int event, void *callbackData, int eventData1,
                         int eventData2);

// The registry LoadPanel resolves the resource file's callback names against.
extern const CallbackEntry kCallbackTable[];
extern const int kCallbackCount;
