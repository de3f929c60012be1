#include "PolledValueCheck.h"

namespace kvlink::test {

std::vector<PolledValue> storedValues(const PolledValues& values) {
  std::vector<PolledValue> out;
  for (int16_t type : {int16_t(0), int16_t(1)}) {
    for (PolledMember m : meterTableFor(type)) {
      if (m) out.push_back(values.*m);
    }
    for (PolledMember m : setPointTableFor(type)) {
      if (m) out.push_back(values.*m);
    }
  }
  return out;
}

bool holdsRegisters(const PolledValues& values, int16_t unitType, sim::UnitSimulator& sim,
                    int station) {
  const std::vector<uint16_t> meter =
      sim.regs(station, kMeterBlock.firstRegister, kMeterBlock.words);
  const std::vector<uint16_t> setPoints =
      sim.regs(station, kSetPointBlock.firstRegister, kSetPointBlock.words);
  const MeterTable& meterTable = meterTableFor(unitType);
  for (std::size_t i = 0; i < meterTable.size(); ++i) {
    if (meterTable[i] && values.*meterTable[i] != meter[i]) return false;
  }
  const SetPointTable& setPointTable = setPointTableFor(unitType);
  for (std::size_t i = 0; i < setPointTable.size(); ++i) {
    if (setPointTable[i] && values.*setPointTable[i] != setPoints[i]) return false;
  }
  return true;
}

bool changedOnlyToOwnRegisters(const PolledValues& before, const PolledValues& after,
                               int16_t unitType, sim::UnitSimulator& sim, int station) {
  PolledValues own = before;  // and every value `after` took from its register
  const auto take = [&](const auto& table, RegisterBlock block) {
    const std::vector<uint16_t> regs = sim.regs(station, block.firstRegister, block.words);
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (table[i] && after.*table[i] == regs[i]) own.*table[i] = regs[i];
    }
  };
  take(meterTableFor(unitType), kMeterBlock);
  take(setPointTableFor(unitType), kSetPointBlock);
  return storedValues(own) == storedValues(after);
}

}  // namespace kvlink::test
