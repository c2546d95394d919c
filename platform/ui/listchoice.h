// A ring whose value changes only by a choice in its open list: a wheel turn
// or an arrow key over the closed ring does nothing, so an operator scrolling
// past it does not act on it (the port selector reopens the line on every
// change).
#pragma once

// Returns 0, or a negative UIE_ error when the control is not a ring.
int SetRingChoiceOnlyFromList(int panel, int control);
