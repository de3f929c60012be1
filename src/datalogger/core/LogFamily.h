#pragma once
// Which record layout a unit type uses: types 0 and 2 the motor family's,
// every other code (1, 4, 99 or anything else) the feeder family's.

#include <cstdint>

namespace kvlink {

enum class LogFamily { Motor, Feeder };

constexpr LogFamily logFamilyOf(int16_t unitType) {
  return unitType == 0 || unitType == 2 ? LogFamily::Motor : LogFamily::Feeder;
}

// Words read per record: 18 (motor) or 19 (feeder) of the record's 24.
constexpr int logRecordWordCount(LogFamily family) {
  return family == LogFamily::Motor ? 18 : 19;
}

}  // namespace kvlink
