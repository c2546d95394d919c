// zel4sim: a simulated controller on a pseudo-terminal, for manual use.
// Prints the device to open ("pty: /dev/pts/N") and runs until SIGINT/SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "sim/simulator.h"

int main(int argc, char **argv) {
  sim::Pacing pacing = sim::Pacing::Line;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--instant") == 0) {
      pacing = sim::Pacing::Instant;
    } else {
      std::fprintf(stderr, "usage: %s [--instant]\n", argv[0]);
      return 2;
    }
  }
  // Block the signals before the I/O thread starts so only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  sim::Simulator simulator(pacing);
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
