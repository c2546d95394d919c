// Callbacks held back while the run-time looks at pending events itself.
#include "platform/util/callbackhold.h"

#include <QPointer>
#include <utility>
#include <vector>

namespace {

struct HeldCall {
  QPointer<QObject> context;
  std::function<void()> call;
};

int gHoldDepth = 0;
std::vector<HeldCall> gHeld;

// Posted, not made here: the hold ends inside a wait of the program, where
// no callback may run. A call that comes due under the next hold waits again.
void PostHeldCalls() {
  std::vector<HeldCall> calls;
  calls.swap(gHeld);
  for (HeldCall &held : calls) {
    QObject *context = held.context.data();
    if (context == nullptr) continue;
    QMetaObject::invokeMethod(
        context, [context, call = std::move(held.call)] { CallOrHold(context, call); },
        Qt::QueuedConnection);
  }
}

}  // namespace

CallbackHold::CallbackHold() {
  ++gHoldDepth;
}

CallbackHold::~CallbackHold() {
  if (--gHoldDepth == 0) PostHeldCalls();
}

bool CallbacksHeld() {
  return gHoldDepth > 0;
}

void CallOrHold(QObject *context, std::function<void()> call) {
  if (gHoldDepth == 0) {
    call();
    return;
  }
  gHeld.push_back(HeldCall{QPointer<QObject>(context), std::move(call)});
}
