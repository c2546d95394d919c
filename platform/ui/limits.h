// Internal to the user-interface run-time: the value limits of a control as
// the resource file sets them.
#pragma once

#include <QWidget>

// The smallest (upper false) or largest value a numeric control takes, or the
// smallest or largest item value of a ring. 0, or UIE_BAD_ATTRIBUTE for a
// control without limits (and for a ring without items).
int GetValueLimit(const QWidget *widget, bool upper, int *value);
