// The histories, their resets and the unpacking of a live answer.
#include "scope/history.h"

#include "link/link.h"

double arrayRAW[kRawPoints];
double arrayNORM[kNormPoints];

int32_t upTHR, loTHR;
uint16_t valREF;
int32_t valNORM;
uint16_t holdHigh, holdLow;

int32_t valNORMA, valNORMB;
uint16_t adcCHA, adcCHB, Amax, Bmax, MAXvalA, MAXvalB, MINvalA, MINvalB, tolval, btnval, in0val,
    in1val, indexA, indexB;

namespace {
// The data memory holds 128 words per channel, numbered from 1.
constexpr uint16_t kFirstIndex = 1;
constexpr uint16_t kLastIndex = 128;

uint16_t ClampIndex(uint16_t index) {
  if (index < kFirstIndex) return kFirstIndex;
  if (index > kLastIndex) return kLastIndex;
  return index;
}
}  // namespace

void FillarrayRAW(int a, int b) {
  for (int r = 0; r < kHistoryRecords; ++r) {
    arrayRAW[r * kRawRecord] = a;
    arrayRAW[r * kRawRecord + 1] = b;
  }
}

void FillarrayNORM(int tol, int ref, int c) {
  for (int r = 0; r < kHistoryRecords; ++r) {
    double *rec = &arrayNORM[r * kNormRecord];
    rec[0] = ref + tol;
    rec[1] = ref - tol;
    rec[2] = ref;
    rec[3] = c;
    rec[4] = c;
    rec[5] = c;
  }
}

void UnpackLiveAnswer() {
  valNORMA = pp[0];
  valNORMB = pp[1];
  adcCHA = pp[2];
  adcCHB = pp[3];
  Amax = pp[4];
  Bmax = pp[5];
  MAXvalA = pp[6];
  MAXvalB = pp[7];
  MINvalA = pp[8];
  MINvalB = pp[9];
  tolval = pp[10];
  btnval = pp[11];
  in0val = pp[12];
  in1val = pp[13];
  indexA = ClampIndex(pp[14]);
  indexB = ClampIndex(pp[15]);
}

void SetNewestRAWRecord(double chA, double chB) {
  arrayRAW[kRawPoints - 2] = chA;
  arrayRAW[kRawPoints - 1] = chB;
}

void SetNewestNORMRecord(double *history) {
  double *rec = &history[kNormPoints - kNormRecord];
  rec[0] = upTHR;
  rec[1] = loTHR;
  rec[2] = valREF;
  rec[3] = holdHigh;
  rec[4] = holdLow;
  rec[5] = valNORM;
}
