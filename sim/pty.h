// A pseudo-terminal pair for the simulator: the master it talks on, and one
// slave descriptor it keeps open so the master never sees the far end vanish.
#pragma once

#include <string>

namespace sim {

struct PtyPair {
  int master = -1;  // non-blocking
  int slave = -1;   // held, never read
  std::string slavePath;
};

// Opens a pair and makes the line raw (no echo, no translation) before the
// path is known to anybody else. False on failure (nothing left open).
bool OpenRawPty(PtyPair *pair);
// Closes both descriptors; the slave path is kept for reference.
void ClosePty(PtyPair *pair);
// Closes a descriptor that may be open (>= 0) and marks it closed (-1).
void CloseFd(int *fd);

}  // namespace sim
