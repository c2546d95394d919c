// The line's events in the controller's terms: the order of each request and
// answer by name ("2 read RAM", "8 live values", "9 data block 64/raw"), and
// its words decoded: the parameter names of the full and the channel-B set,
// the live values' names, the firmware text, the data block's 64 words.
#pragma once

#include "platform/util/linelog.h"

// Fills the order and content columns of an event.
void DescribeLinkEvent(const LineEvent &event, LineEventText *text);
// The order code an event concerns, -1 for none.
int LinkEventOrder(const LineEvent &event);
// The order's code and name, e.g. "2 read RAM"; a data block's request words
// 0 and 1 (offset, selector) complete its name: "9 data block 64/raw".
std::string OrderText(unsigned code, unsigned word0, unsigned word1);
// The reader the line monitor and the log use (SetLineEventReader).
LineEventReader LinkEventReader();
