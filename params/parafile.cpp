// Writing and reading the parameter file.
#include "params/parafile.h"

#include <cstdint>

#include "link/link.h"
#include "params/panels.h"
#include "params/params.h"
#include "platform/ui/userint.h"
#include "platform/util/utility.h"
#include "ui/RVIMZEL4V14.h"

namespace {

constexpr int kFileWords = 2 * PNUM;  // full set, then channel-B set
constexpr int kFieldWidth = 5;

// Why a read failed, in the operator's words.
const char *ReadFailureText(int result) {
  switch (result) {
    case kFileTooFewValues:
      return "Parameter file NOT read - fewer than 32 values!";
    case kFileBadNumber:
      return "Parameter file NOT read - invalid value!";
    case kFileTooManyValues:
      return "Parameter file NOT read - not a parameter file!";
    default:
      return "Parameter file NOT read - cannot open file!";
  }
}

// One set of 16 file values into its variables; each value keeps its low
// 16 bits. The set is chosen by position, not by the selector word.
void TakeSet(const uint32_t *values, uint16_t paraset) {
  for (int i = 0; i < PNUM; ++i) pp[i] = static_cast<uint16_t>(values[i] & 0xFFFFu);
  CopyPPtoVars(paraset);
}

void MarkBothSetsHeldByFile() {
  MarkSetHeld(0, kHeldByFile);
  MarkSetHeld(1, kHeldByFile);
}

}  // namespace

int SelectParaFile(int buttonLabel) {
  return FileSelectPopup(proj_dir, "ZEL4para.cfg", "*.cfg", "R-VIM-ZEL4 Parameter File",
                         buttonLabel, 0, 1, 1, 1, file_name);
}

void SendParaToFile() {
  uint32_t values[kFileWords];
  GetPanelValues();
  CopyVarsToPP(0);
  for (int i = 0; i < PNUM; ++i) values[i] = pp[i];
  CopyVarsToPP(1);
  for (int i = 0; i < PNUM; ++i) values[PNUM + i] = pp[i];
  const int result =
      ArrayToFile(file_name, values, VAL_UNSIGNED_INTEGER, kFileWords, 1, VAL_GROUPS_TOGETHER,
                  VAL_GROUPS_AS_COLUMNS, VAL_CONST_WIDTH, kFieldWidth, VAL_ASCII, VAL_TRUNCATE);
  // The file is replaced whole or not at all, so a failure leaves the old one.
  ShowStatus(result == kFileOk ? "Parameter file saved!" : "Parameter file NOT saved!");
  if (result == kFileOk) MarkBothSetsHeldByFile();
}

void ReadParaFromFile() {
  if (SelectParaFile(VAL_LOAD_BUTTON) == VAL_NO_FILE_SELECTED) return;
  // Read aside first: a short or damaged file must not leave half a set behind.
  uint32_t values[kFileWords] = {};
  const int result = FileToArray(file_name, values, VAL_UNSIGNED_INTEGER, kFileWords, 1,
                                 VAL_GROUPS_TOGETHER, VAL_GROUPS_AS_COLUMNS, VAL_ASCII);
  if (result != kFileOk) {
    ShowStatus(ReadFailureText(result));
    return;
  }
  TakeSet(values, 0);
  TakeSet(values + PNUM, 1);
  MarkBothSetsHeldByFile();
  ShowStatus("Parameter file read!");
}
