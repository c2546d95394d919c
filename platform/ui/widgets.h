// Internal to the user-interface run-time: small widget facts shared by the
// value and attribute operations.
#pragma once

#include <QLabel>
#include <QWidget>

// Text messages made by NewCtrl follow their text's size.
void MarkAutoSized(QLabel *label);
void FitAutoSizedLabel(QLabel *label);
void FitAutoSized(QWidget *widget);
