// The controller's parameter set, the word array that carries it, and the
// program-wide values of the link.
#include "link/link.h"
#include "link/syncword.h"

uint16_t powerA = 500, refA = 2048, tolA = 512, triglvlA = 950, hysteresis = 20, polarity = 1,
         hold = 100, average = 8, hwmode = 1, evalmode = 0, trigmode = 0, outmode = 0, anamode = 0,
         sdelay = 500, maxmode = 0;
uint16_t powerB = 500, refB = 2048, tolB = 512, triglvlB = 950;
uint16_t ref10Bit = 2048, tol10Bit = 512;
uint16_t pp[PNUM];
int target = RAM;
int order = 1;
int sync = 0x55;

namespace {

// The full set in frame order: words 1 to 15.
uint16_t *const kFullSet[] = {&powerA,   &refA,    &tolA,    &triglvlA, &hysteresis,
                              &polarity, &hold,    &average, &hwmode,   &evalmode,
                              &trigmode, &outmode, &anamode, &sdelay,   &maxmode};
// The channel-B set: words 1 to 4.
uint16_t *const kChannelBSet[] = {&powerB, &refB, &tolB, &triglvlB};

constexpr int kFullCount = sizeof kFullSet / sizeof kFullSet[0];
constexpr int kChannelBCount = sizeof kChannelBSet / sizeof kChannelBSet[0];

}  // namespace

// maxmode is left alone: it starts at 0 and only the panel or the controller
// change it.
void SetParameterDefaults() {
  powerA = 500;
  refA = 2048;
  tolA = 512;
  triglvlA = 950;
  hysteresis = 20;
  polarity = 1;
  hold = 100;
  average = 8;
  hwmode = 1;
  evalmode = 0;
  trigmode = 0;
  outmode = 0;
  anamode = 0;
  sdelay = 500;
  powerB = 500;
  refB = 2048;
  tolB = 512;
  triglvlB = 950;
  ref10Bit = 2048;
  tol10Bit = 512;
}

void CopyVarsToPP(uint16_t paraset) {
  pp[0] = paraset;
  if (paraset == 0) {
    for (int i = 0; i < kFullCount; ++i) pp[1 + i] = *kFullSet[i];
    return;
  }
  for (int i = 0; i < kChannelBCount; ++i) pp[1 + i] = *kChannelBSet[i];
  for (int i = 1 + kChannelBCount; i < PNUM; ++i) pp[i] = 0;
}

// Word 0 is never stored: an answer's selector or sync value does not
// disturb the set.
void CopyPPtoVars(uint16_t paraset) {
  if (paraset == 0) {
    for (int i = 0; i < kFullCount; ++i) *kFullSet[i] = pp[1 + i];
    return;
  }
  for (int i = 0; i < kChannelBCount; ++i) *kChannelBSet[i] = pp[1 + i];
}
