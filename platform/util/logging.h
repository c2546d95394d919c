// The run-time's logging categories. Debug messages are off unless
// QT_LOGGING_RULES turns them on, e.g. "rvim.*.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSerial)  // rvim.serial: the port and its bytes
Q_DECLARE_LOGGING_CATEGORY(lcLink)    // rvim.link: frames, answers, time-outs, noise
Q_DECLARE_LOGGING_CATEGORY(lcStatus)  // rvim.status: the status line's texts
Q_DECLARE_LOGGING_CATEGORY(lcFiles)   // rvim.files: files that cannot be read or written
Q_DECLARE_LOGGING_CATEGORY(lcUi)      // rvim.ui: panels and their resource file
