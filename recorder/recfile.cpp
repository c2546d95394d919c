// Choice of the record file. The dialog asks before it hands back an existing
// file, so a file it returns as existing is one the operator agreed to
// overwrite: it is deleted at once, before any recording run.
#include "params/panels.h"
#include "platform/util/utility.h"
#include "recorder/recorder.h"
#include "ui/RVIMZEL4V14.h"

char recfile_name[kMaxPathname];

int CC_RecordFileNameBtn(int, int, int event, void *, int, int) {
  if (event != EVENT_COMMIT) return 0;
  const int chosen =
      FileSelectPopup(proj_dir, "RVIMrecord.dat", "*.dat",
                      "R-VIM-Series Recorder-File:", VAL_OK_BUTTON, 0, 1, 1, 1, recfile_name);
  if (chosen == VAL_EXISTING_FILE_SELECTED) {
    CVI_DeleteFile(recfile_name);
    SetCtrlVal(panelPopUp, POPUP_RECFILENAME, recfile_name);
  } else if (chosen == VAL_NEW_FILE_SELECTED) {
    SetCtrlVal(panelPopUp, POPUP_RECFILENAME, recfile_name);
  }
  return 0;
}
