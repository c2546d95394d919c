// Internal to the user-interface run-time: shared start-up facts.
#pragma once

#include <QFont>

class QApplication;

// The run-time's application font ("NIApp").
QFont ApplicationFont();
// True once InitCVIRTE has created the application object.
bool RuntimeStarted();
// Repaints of each window at most once a frame time (paintpace.cpp).
void InstallPaintPacing(QApplication *app);
