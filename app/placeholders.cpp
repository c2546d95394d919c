// Placeholder callbacks: each accepts its event and does nothing, so the panels
// load and run before the real callbacks exist.
#include "app/callbacks.h"

int CC_RBTRam(int, int, int, void *, int, int) {
  return 0;
}
int CC_RBTEeprom(int, int, int, void *, int, int) {
  return 0;
}
int CC_RBTFile(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNSend(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNGet(int, int, int, void *, int, int) {
  return 0;
}
int CC_ButtonTeach(int, int, int, void *, int, int) {
  return 0;
}
int CC_ButtonReset(int, int, int, void *, int, int) {
  return 0;
}
int CC_ButtonRefresh(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNRun(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNStop(int, int, int, void *, int, int) {
  return 0;
}
int CC_RNGGraphSource(int, int, int, void *, int, int) {
  return 0;
}
int CC_BINSWpower(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNData(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNStartRecord(int, int, int, void *, int, int) {
  return 0;
}
int CC_BTNStopRecord(int, int, int, void *, int, int) {
  return 0;
}
