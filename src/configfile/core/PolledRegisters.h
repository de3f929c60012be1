#pragma once
// What the poll last read from the selected station, looked up by register
// number in the poll's own tables for the unit's family.

#include <cstdint>
#include <optional>

#include "PolledValues.h"

namespace kvlink {

// The polled value of register `reg` (0 to 17 and 24 to 42) for a unit of
// `unitType`; nullopt when the family keeps no value for that register or the
// poll has not filled it yet.
std::optional<uint16_t> polledRegister(const PolledValues& values, int unitType, int reg);

}  // namespace kvlink
