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

namespace {

// Calls visit(member, register of `station`) for every value the family of `unitType` keeps.
template <typename Visit>
void forEachRegister(int16_t unitType, sim::UnitSimulator& sim, int station, Visit visit) {
  const std::vector<uint16_t> meter =
      sim.regs(station, kMeterBlock.firstRegister, kMeterBlock.words);
  const std::vector<uint16_t> setPoints =
      sim.regs(station, kSetPointBlock.firstRegister, kSetPointBlock.words);
  const MeterTable& meterTable = meterTableFor(unitType);
  for (std::size_t i = 0; i < meterTable.size(); ++i) {
    if (meterTable[i]) visit(meterTable[i], meter[i]);
  }
  const SetPointTable& setPointTable = setPointTableFor(unitType);
  for (std::size_t i = 0; i < setPointTable.size(); ++i) {
    if (setPointTable[i]) visit(setPointTable[i], setPoints[i]);
  }
}

}  // namespace

bool holdsRegisters(const PolledValues& values, int16_t unitType, sim::UnitSimulator& sim,
                    int station) {
  bool holds = true;
  forEachRegister(unitType, sim, station,
                  [&](PolledMember m, uint16_t reg) { holds = holds && values.*m == reg; });
  return holds;
}

bool changedOnlyToOwnRegisters(const PolledValues& before, const PolledValues& after,
                               int16_t unitType, sim::UnitSimulator& sim, int station) {
  PolledValues allowed = before;
  forEachRegister(unitType, sim, station, [&](PolledMember m, uint16_t reg) {
    if (after.*m == reg) allowed.*m = reg;
  });
  return storedValues(allowed) == storedValues(after);
}

}  // namespace kvlink::test
