// zel4sim: a simulated controller on a pseudo-terminal, for manual use.
// Prints the device to open ("pty: /dev/pts/N") and runs until SIGINT/SIGTERM.
// --latitude SEED: answer with the controller's latitude (see Simulator::setLatitude).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "sim/simulator.h"

namespace {

int usage(const char *program) {
  std::fprintf(stderr, "usage: %s [--instant] [--latitude SEED]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  sim::Pacing pacing = sim::Pacing::Line;
  std::optional<uint64_t> latitude;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--instant") == 0) {
      pacing = sim::Pacing::Instant;
    } else if (std::strcmp(argv[i], "--latitude") == 0 && i + 1 < argc) {
      char *end = nullptr;
      latitude = std::strtoull(argv[++i], &end, 0);
      if (*end != '\0') return usage(argv[0]);
    } else {
      return usage(argv[0]);
    }
  }
  // Block the signals before the I/O thread starts so only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  sim::Simulator simulator(pacing);
  simulator.setLatitude(latitude);
  if (!simulator.start()) {
    std::fprintf(stderr, "zel4sim: cannot open a pseudo-terminal\n");
    return 1;
  }
  std::printf("pty: %s\n", simulator.slavePath().c_str());
  std::fflush(stdout);
  int received = 0;
  sigwait(&stopSignals, &received);
  simulator.stop();
  return 0;
}
