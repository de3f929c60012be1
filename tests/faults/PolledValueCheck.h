// Checks of the polled values against the simulator's registers, for the poll
// fault matrix and the soak.
#pragma once

#include <vector>

#include "PolledValueTables.h"
#include "UnitSimulator.h"

namespace kvlink::test {

// Every value the station read can store, in a fixed order, so that two
// moments can be compared.
std::vector<PolledValue> storedValues(const PolledValues& values);

// True when every value the family of `unitType` keeps holds the register of
// `station` it comes from.
bool holdsRegisters(const PolledValues& values, int16_t unitType, sim::UnitSimulator& sim,
                    int station);

// True when every value that changed from `before` to `after` holds its register of `station`.
bool changedOnlyToOwnRegisters(const PolledValues& before, const PolledValues& after,
                               int16_t unitType, sim::UnitSimulator& sim, int station);

}  // namespace kvlink::test
