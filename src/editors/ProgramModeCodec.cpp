#include "ProgramModeCodec.h"

namespace kvlink {

namespace {

using F = ProgramModeField;

const std::vector<ProgramModeBits> kMotorLayout = {
    {F::AutoResetEnable, 1, 0x0001, 0},      {F::AlarmLatchEnable, 1, 0x0002, 1},
    {F::ShortCircuitEnable, 1, 0x0004, 2},   {F::HotMotorCompEnable, 1, 0x0008, 3},
    {F::EarthFaultDelay, 1, 0x0030, 4},      {F::PhaseReverseEnable, 1, 0x0040, 6},
    {F::PhaseSequenceBAC, 1, 0x0080, 7},     {F::AlarmRelayNonFailSafe, 2, 0x0004, 2},
    {F::TripRelayNonFailSafe, 2, 0x0008, 3},
};

// Type 1 has no frequency choice and type 4 no alarm relay mode.
const std::vector<ProgramModeBits> kFeederLayout = {
    {F::AutoResetEnable, 1, 0x0001, 0},          {F::AlarmLatchEnable, 1, 0x0002, 1},
    {F::I2tImmediateReset, 1, 0x0004, 2},        {F::Frequency50Hz, 1, 0x0008, 3, 4},
    {F::EarthFaultDelay, 1, 0x0030, 4},          {F::ShortTimeDelay, 1, 0x00C0, 6},
    {F::AlarmRelayNonFailSafe, 2, 0x0004, 2, 1}, {F::TripRelayNonFailSafe, 2, 0x0008, 3},
};

}  // namespace

ProgramModeFamily programModeFamilyOf(int16_t unitType) {
  return unitType == 1 || unitType == 4 ? ProgramModeFamily::Feeder : ProgramModeFamily::Motor;
}

const std::vector<ProgramModeBits>& programModeLayout(ProgramModeFamily family) {
  return family == ProgramModeFamily::Motor ? kMotorLayout : kFeederLayout;
}

ProgramModeSettings decodeProgramModeWords(ProgramModeFamily family, uint16_t word1,
                                           uint16_t word2) {
  ProgramModeSettings settings;
  for (const ProgramModeBits& bits : programModeLayout(family)) {
    const uint16_t word = bits.word == 1 ? word1 : word2;
    settings[bits.field] = (word & bits.mask) >> bits.shift;
  }
  return settings;
}

ProgramModeWords encodeProgramModeWords(ProgramModeFamily family, int16_t unitType,
                                        const ProgramModeSettings& settings) {
  ProgramModeWords words;
  for (const ProgramModeBits& bits : programModeLayout(family)) {
    if (bits.writtenOnlyFor >= 0 && bits.writtenOnlyFor != unitType) continue;
    const auto value = static_cast<uint16_t>(
        (static_cast<unsigned>(settings[bits.field]) << bits.shift) & bits.mask);
    (bits.word == 1 ? words.word1 : words.word2) |= value;
  }
  return words;
}

}  // namespace kvlink
