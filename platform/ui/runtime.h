// Internal to the user-interface run-time: shared start-up facts.
#pragma once

#include <QFont>

// The run-time's application font ("NIApp").
QFont ApplicationFont();
// True once InitCVIRTE has created the application object.
bool RuntimeStarted();
