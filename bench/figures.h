// The benchmark's figures: one function each, listed in main.cpp.
#pragma once

// A negative result means the figure could not be measured.
using FigureFunction = double (*)();

struct Figure {
  const char *name;
  FigureFunction measure;
};

// CPU share (percent of one core) of a 2 s loop of ProcessSystemEvents with
// nothing to do. Goal: below 5.
double IdleLoopCpuPercent();
// Bytes per second received through the pty from the line-paced simulator.
// Goal: within 2% of 1920 (19200 baud, 10 bits a byte).
double PtyBytesPerSecondLinePaced();
// Median wall time of the start-up read (echo check, both parameter sets from
// RAM, firmware text) against the line-paced simulator.
double StartupReadSeconds();
// The bytes of that read on the line / 1920 per second: the least it can take.
double StartupReadLineMinimumSeconds();
