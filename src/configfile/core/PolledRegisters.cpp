#include "PolledRegisters.h"

#include "PolledValueTables.h"
#include "ProgramState.h"

namespace kvlink {

std::optional<uint16_t> polledRegister(const PolledValues& values, int unitType, int reg) {
  if (!isKnownUnitType(unitType)) return std::nullopt;
  const auto type = static_cast<int16_t>(unitType);
  PolledMember member = nullptr;
  if (reg >= kSetPointBlock.firstRegister &&
      reg < kSetPointBlock.firstRegister + kSetPointBlock.words)
    member = setPointTableFor(type)[reg - kSetPointBlock.firstRegister];
  else if (reg >= kMeterBlock.firstRegister && reg < kMeterBlock.firstRegister + kMeterBlock.words)
    member = meterTableFor(type)[reg - kMeterBlock.firstRegister];
  if (!member) return std::nullopt;
  return values.*member;
}

}  // namespace kvlink
