// Internal to the run-time: holding back the program's callbacks while the
// run-time looks at pending events on its own (for a close of the main
// window during a wait that processes no events). A held callback is kept,
// in order, and made once the hold ends, from the next event processing.
#pragma once

#include <QObject>
#include <functional>

class CallbackHold {
 public:
  CallbackHold();
  ~CallbackHold();
  CallbackHold(const CallbackHold &) = delete;
  CallbackHold &operator=(const CallbackHold &) = delete;
};

bool CallbacksHeld();
// Makes the call now, or, while held, once the hold ends (dropped when
// `context` is gone by then).
void CallOrHold(QObject *context, std::function<void()> call);
