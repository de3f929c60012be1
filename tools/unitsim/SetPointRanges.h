#pragma once
// The set-point ranges the simulated units hold to: a write of a set point
// outside its range (and other than its off value) is refused, as a relay
// refuses it, with an exception reply (Modbus) or an error status (DF1).
// Registers without a range of their own here take any value.

#include <cstdint>
#include <optional>

namespace kvlink::sim {

struct SetPointRange {
  int reg;
  uint16_t low;
  uint16_t high;
  int alsoTaken;  // the off value (or another single value taken), -1 for none
};

// The range of a unit type's set-point register, if it has one.
std::optional<SetPointRange> setPointRange(int unitType, int reg);

// Whether a unit of the type takes `value` into set-point register `reg`.
bool setPointTaken(int unitType, int reg, uint16_t value);

}  // namespace kvlink::sim
