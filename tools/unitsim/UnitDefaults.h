#pragma once
// Start values of the simulated units per family: set points and a running load.

#include <span>

namespace kvlink::sim {

struct RegisterValue {
  int reg;
  int value;
};

// Registers 0..17 and 24..43 of a unit of the given type.
std::span<const RegisterValue> unitDefaults(int unitType);

struct MeterMotion {
  int reg;
  int spread;        // wanders within nominal +- spread
  bool followsLoad;  // drops to 0 while the motor is stopped or the breaker open
};

// The meters that move, per family.
std::span<const MeterMotion> meterMotion(int unitType);

// Logger record words 7.. of the family: the register each one copies.
std::span<const int> recordSources(int unitType);

}  // namespace kvlink::sim
