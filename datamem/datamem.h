// Data memory readout: one data set of the controller's data memory, read in
// four 64-word blocks and drawn as curves in PANEL_DATAGRAPH.
#pragma once

#include <cstdint>

constexpr int kDataPoints = 128;  // words per channel in a data set

// Threshold lines of the curve plot: every element holds the same value.
extern uint16_t upArray[256];
extern uint16_t loArray[256];
extern uint16_t refArray[256];

// Draws 128 points of each array into PANEL_DATAGRAPH as the graph source asks.
void PlotDATACurve(const uint16_t *yA, const uint16_t *yB, const uint16_t *up, const uint16_t *lo,
                   const uint16_t *ref);

// The Data readout button.
int CC_BTNData(int panel, int control, int event, void *callbackData, int eventData1,
               int eventData2);
