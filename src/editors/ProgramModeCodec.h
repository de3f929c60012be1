#pragma once
// The two program-mode words of a unit, register 14 (word 1) and register 15
// (word 2): enable switches, delay choices, phase sequence or frequency, and
// the fail-safe mode of the trip and alarm relays. One bit layout per unit
// family; decode gives one value per field, encode adds the fields back into
// two words. Bits that no field covers decode to nothing and encode as 0.

#include <array>
#include <cstdint>
#include <vector>

namespace kvlink {

enum class ProgramModeFamily { Motor, Feeder };

// The family whose layout serves a unit type: 1 and 4 feeder, any other motor.
ProgramModeFamily programModeFamilyOf(int16_t unitType);

enum class ProgramModeField : int {
  AutoResetEnable,
  AlarmLatchEnable,
  ShortCircuitEnable,  // motor
  HotMotorCompEnable,  // motor
  PhaseReverseEnable,  // motor
  PhaseSequenceBAC,    // motor: 0 ABC, 1 BAC
  I2tImmediateReset,   // feeder
  Frequency50Hz,       // feeder: 0 60 Hz, 1 50 Hz
  ShortTimeDelay,      // feeder: 0 to 3
  EarthFaultDelay,     // 0 to 3
  AlarmRelayNonFailSafe,
  TripRelayNonFailSafe,
  Count
};
constexpr int kProgramModeFieldCount = static_cast<int>(ProgramModeField::Count);

// One field's place in a word.
struct ProgramModeBits {
  ProgramModeField field;
  int word;       // 1 = register 14, 2 = register 15
  uint16_t mask;  // the field's bits in the word
  int shift;      // position of the field's lowest bit
  // The one unit type for which the field is written; -1 = every type of the
  // family. Decoding always reads the field.
  int16_t writtenOnlyFor = -1;
};

// The fields of a family in bit order, word 1 first.
const std::vector<ProgramModeBits>& programModeLayout(ProgramModeFamily family);

// One value per field; fields outside the family's layout stay 0.
class ProgramModeSettings {
 public:
  int& operator[](ProgramModeField field) { return values_[static_cast<int>(field)]; }
  int operator[](ProgramModeField field) const { return values_[static_cast<int>(field)]; }
  bool operator==(const ProgramModeSettings&) const = default;

 private:
  std::array<int, kProgramModeFieldCount> values_{};
};

struct ProgramModeWords {
  uint16_t word1 = 0;
  uint16_t word2 = 0;
  bool operator==(const ProgramModeWords&) const = default;
};

ProgramModeSettings decodeProgramModeWords(ProgramModeFamily family, uint16_t word1,
                                           uint16_t word2);

// Words from nothing but the fields: uncovered bits are 0, and a field that
// is written for one unit type only is 0 for every other type. A value too
// large for its field keeps only the bits that fit.
ProgramModeWords encodeProgramModeWords(ProgramModeFamily family, int16_t unitType,
                                        const ProgramModeSettings& settings);

}  // namespace kvlink
