// The state a chart refresh starts from in the scope's panel tests: histories
// at their start, known bands, and a live answer in pp as the receive
// callback leaves it.
#pragma once

#include <cstdint>

#include "link/link.h"
#include "scope/history.h"

inline void LoadLiveAnswer(uint16_t normA = 410, uint16_t normB = 590) {
  const uint16_t words[PNUM] = {normA, normB, 1111, 2222, 3000, 3100, 450, 640,
                                380,   560,   77,   1,    1,    0,    0,   200};
  for (int i = 0; i < PNUM; ++i) pp[i] = words[i];
}

inline void StartLiveState() {
  FillarrayRAW(0, 0);
  FillarrayNORM(512, 2048, 0);
  refA = 400;
  refB = 600;
  tolA = 30;
  tolB = 40;
  anamode = 3;
  LoadLiveAnswer();
}
