// Internal to the user-interface run-time: indicators (read-only numeric
// controls) take a new value at once and lay out its text at the next pass
// of the event loop, just before that pass repaints. A live loop sets a dozen
// indicators per answer; their text layout then no longer stands between an
// answer and the next request, and the operator sees the same frame.
#pragma once

#include <QWidget>

using ShowNumber = void (*)(QWidget *widget, double value);

// Keeps the value for a read-only numeric control and returns true; false
// for any other control, which the caller sets at once.
bool DeferIndicatorValue(QWidget *widget, double value, ShowNumber show);

// Shows a value still kept for the widget now, so that it can be read back.
void ShowPendingIndicatorValue(QWidget *widget);
