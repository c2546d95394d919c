// Chart histories of the live scope, the live values of the last answer and
// the threshold band of the normalised display.
#pragma once

#include <cstdint>

constexpr int kRawRecord = 2;   // doubles per raw record: channel A, channel B
constexpr int kNormRecord = 6;  // up, low, reference, hold high, hold low, value
constexpr int kHistoryRecords = 100;
constexpr int kRawPoints = kRawRecord * kHistoryRecords;    // 200
constexpr int kNormPoints = kNormRecord * kHistoryRecords;  // 600

// Interleaved by trace, oldest record first, newest last.
extern double arrayRAW[kRawPoints];
extern double arrayNORM[kNormPoints];

// Threshold band and value of the normalised display.
extern int32_t upTHR, loTHR;
extern uint16_t valREF;
extern int32_t valNORM;
// Hold traces of the normalised display (1005 when there is nothing to hold).
extern uint16_t holdHigh, holdLow;

// Live values, words 0..15 of the last live answer.
extern int32_t valNORMA, valNORMB;
extern uint16_t adcCHA, adcCHB, Amax, Bmax, MAXvalA, MAXvalB, MINvalA, MINvalB, tolval, btnval,
    in0val, in1val, indexA, indexB;

// Array routines; results 0, -20003 (n < 1) or -20102 (|s| >= n).
constexpr int kErrNumElements = -20003;
constexpr int kErrShiftTooFar = -20102;
int Copy1D(const double *x, int n, double *y);
int Shift(const double *x, int n, int s, double *y);

// Every raw record becomes (a, b); every normalised record
// (ref + tol, ref - tol, ref, c, c, c), unclamped.
void FillarrayRAW(int a, int b);
void FillarrayNORM(int tol, int ref, int c);

// Words 0..15 of pp into the live values; indexA/indexB limited to 1..128.
void UnpackLiveAnswer();

// Band, reference, value and hold values for graph source 2 (channel A) or
// 3 (channel B) from the live values, the parameter set and the current
// settings of PANEL_HWMODE and POPUP_DROP_EVALMODE. Returns 1 when the
// tolerance is the common one reported by the controller (tolval), 0 when
// it is tolA/tolB.
int ComputeNormBand(int graphSource);

// The newest (last) record of a history, after the refresh has shifted it.
void SetNewestRAWRecord(double chA, double chB);
// (upTHR, loTHR, valREF, holdHigh, holdLow, valNORM) into a 600-double history.
void SetNewestNORMRecord(double *history);
