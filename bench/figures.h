// The benchmark's figures: one function each, listed in main.cpp.
#pragma once

// What the line carries at most: 19200 baud, 10 bits a byte.
constexpr double kLineBytesPerSecond = 1920.0;

// A negative result means the figure could not be measured.
using FigureFunction = double (*)();

struct Figure {
  const char *name;
  FigureFunction measure;
};

// CPU share (percent of one core) of a 2 s loop of ProcessSystemEvents with
// nothing to do.
double IdleLoopCpuPercent();
// Bytes per second received through the pty from the line-paced simulator;
// the line carries at most 1920 (19200 baud, 10 bits a byte).
double PtyBytesPerSecondLinePaced();
// Median wall time of the start-up read (echo check, both parameter sets from
// RAM, firmware text) against the line-paced simulator.
double StartupReadSeconds();
// The bytes of that read on the line / 1920 per second: the least it can take.
double StartupReadLineMinimumSeconds();
// The live scope's Run loop in the started program, 10 s against the
// line-paced simulator with the normalised chart visible: plotted answers a
// second from the click on Run to the end of Stop; the loop's rate between
// its first and last request, and the rate of its median cycle, as shares of
// the line's 26.7; and the process's CPU share of one core.
double LiveAnswersPerSecondLinePaced();
double LiveShareOfLineLimit();
double LiveShareOfLineLimitMedianCycle();
double LiveCpuPercentLinePaced();
double LiveProgramCpuPercentLinePaced();  // the same without the in-process simulator
// The share of the line limit and the program's CPU share of the same run
// with the line monitor open and following it.
double LiveShareOfLineLimitMonitorOpen();
double LiveShareOfLineLimitMedianCycleMonitorOpen();
double LiveProgramCpuPercentMonitorOpen();
// The same loop 3 s against the instant simulator: answers a second, and the
// program thread's CPU time per request/answer/plot cycle in ms.
double LiveAnswersPerSecondInstant();
double LiveCycleMsInstant();
// Thread CPU time in ms of one look of the open line monitor at the line
// (eleven new events, as 200 ms of a live run bring) with its repaint.
double MonitorLookMs();
// Mean time in ms of one chart refresh with its repaint, offscreen.
double RefreshRawMs();
double RefreshNormMs();
// Median wall time of the Data readout command (live refresh, four blocks of
// the normalised data set) against the line-paced simulator.
double DataReadoutSeconds();
// The bytes of that readout on the line / 1920 per second: the least it can take.
double DataReadoutLineMinimumSeconds();
// Mean time of one appended record-file row, synced to the disk as the
// recorder writes it, and the same append without the sync.
double RecordRowWriteMsFsync();
double RecordRowWriteMsNoSync();
// Rows per second of a recording with interval 0 against the line-paced
// simulator, from the click to the end; the loop's rate between its first and
// last request, and the rate of its median cycle, over the line's limit of
// 1920 / 72 = 26.7 exchanges per second.
double RecordRowsPerSecond();
double RecordShareOfLineLimit();
double RecordShareOfLineLimitMedianCycle();
