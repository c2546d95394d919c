// The controller's latitude in the wire tests: with RVIM_SIM_LATITUDE=<seed> in
// the environment, every simulator a test starts varies what the protocol
// leaves to the controller (see sim::Simulator::setLatitude).
#pragma once

#include <cstdint>
#include <optional>

#include "sim/simulator.h"

namespace testsupport {

// The run's seed (decimal or 0x-hex); nullopt when unset or not a number.
std::optional<uint64_t> LatitudeSeed();
// False when the variable is set but holds no number.
bool LatitudeSettingValid();
// Gives the simulator a seed of its own, derived from the run's seed, the
// case's name and how many simulators the case started before it, so that one
// case reruns alike on its own. No-op without a run seed.
void ApplyLatitude(sim::Simulator &simulator);
// Prints the run's seed and the simulators' seeds when a case fails.
void ReportLatitudeOnFailure();

}  // namespace testsupport
