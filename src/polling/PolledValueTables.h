#pragma once
// Which word of a poll read lands in which polled value, per unit family.
// Each table has one entry per word of its block; an empty entry is a word
// the family does not keep.

#include <array>
#include <cstdint>
#include <span>

#include "PolledValues.h"
#include "StationBlocks.h"

namespace kvlink {

using PolledMember = PolledValue PolledValues::*;

using MeterTable = std::array<PolledMember, kMeterBlock.words>;
using SetPointTable = std::array<PolledMember, kSetPointBlock.words>;

extern const MeterTable kMotorMeterTable;
extern const MeterTable kFeederMeterTable;
extern const SetPointTable kMotorSetPointTable;
extern const SetPointTable kFeederSetPointTable;

// The tables of a unit type's family (types 0 and 2 motor, 1 and 4 feeder).
const MeterTable& meterTableFor(int16_t unitType);
const SetPointTable& setPointTableFor(int16_t unitType);

// Stores word n in the value of entry n, in word order; words the table does
// not keep are skipped and no other value is touched.
void storeWords(PolledValues& values, std::span<const PolledMember> table,
                std::span<const uint16_t> words);

}  // namespace kvlink
