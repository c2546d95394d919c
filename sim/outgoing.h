// One answer as it leaves the simulator: the controller model's answer with the
// latitude's choices and the test's faults applied, a fault the test set
// winning over the latitude's choice of the same thing (see sim::Faults).
#pragma once

#include <optional>
#include <vector>

#include "sim/controller.h"
#include "sim/latitude.h"
#include "sim/line.h"

namespace sim {

struct Outgoing {
  std::vector<uint8_t> bytes;  // may be empty (truncated to nothing): still an answer
  Clock::duration delay{};     // after the request is complete
  Gaps gaps;
};

// nullopt: nothing goes out (silent, a dropped block, an optional answer left
// out). latitude may be null.
std::optional<Outgoing> Shape(Answer answer, const RequestFrame &request, const Faults &faults,
                              Latitude *latitude);

}  // namespace sim
