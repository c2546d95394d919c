// The request that ends every wait at once, and the look at the window
// system that lets a wait without event processing notice a close.
#include <atomic>
#include <chrono>

#include "platform/util/utility.h"
#include "platform/util/waitprobe.h"

namespace {

// Pending events are looked at this often at most: a close is noticed well
// within a frame time, and a wait polling every millisecond costs next to
// nothing.
constexpr auto kProbeEvery = std::chrono::milliseconds(10);

std::atomic<bool> gEnded{false};
WaitsProbe gProbe = nullptr;
bool gProbing = false;
std::chrono::steady_clock::time_point gLastProbe{};

void Probe() {
  if (gProbe == nullptr || gProbing) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - gLastProbe < kProbeEvery) return;
  gLastProbe = now;
  gProbing = true;
  gProbe();
  gProbing = false;
}

}  // namespace

WaitsProbe SetWaitsProbe(WaitsProbe probe) {
  const WaitsProbe previous = gProbe;
  gProbe = probe;
  return previous;
}

void EndWaitsNow(void) {
  gEnded.store(true);
}

void ResumeWaits(void) {
  gEnded.store(false);
}

int WaitsEnded(void) {
  if (!gEnded.load()) Probe();
  return gEnded.load() ? 1 : 0;
}
