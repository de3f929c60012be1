#include "SetPointRanges.h"

#include <array>

namespace kvlink::sim {
namespace {

constexpr int kNone = -1;

// Motor relay (type 0): thermal limit 1..45 s, overcurrent 100..600 %,
// undercurrent 15..100 %, unbalance 5..75 %, temperature 50..220 C, earth
// leakage 1..100 %, each with its off value; service factor 100..125 and the
// earth-fault CT 5 or 50..2000 A.
constexpr std::array<SetPointRange, 14> kMotorRelay{{
    {0, 1, 45, 46},
    {1, 1, 45, 46},
    {2, 100, 600, 625},
    {3, 100, 600, 625},
    {4, 15, 100, 101},
    {5, 15, 100, 101},
    {6, 5, 75, 76},
    {7, 5, 75, 76},
    {8, 50, 220, 225},
    {9, 50, 220, 225},
    {10, 1, 100, 101},
    {11, 1, 100, 101},
    {13, 100, 125, kNone},
    {17, 50, 2000, 5},
}};

// Contactor unit (type 2): as the motor relay, but the thermal limit's off
// value is 998 and the overcurrent set points (a multiple of FLA) are not
// checked.
constexpr std::array<SetPointRange, 12> kContactor{{
    {0, 1, 45, 998},
    {1, 1, 45, 998},
    {4, 15, 100, 101},
    {5, 15, 100, 101},
    {6, 5, 75, 76},
    {7, 5, 75, 76},
    {8, 50, 220, 225},
    {9, 50, 220, 225},
    {10, 1, 100, 101},
    {11, 1, 100, 101},
    {13, 100, 125, kNone},
    {17, 50, 2000, 5},
}};

// Feeder family (types 1 and 4): thermal limit 1..45 s, short time and
// instantaneous 1.0..9.0 times the CT rating (10..90), unbalance 5..75 %,
// earth (ground) fault 1..100 %, and the earth-fault CT 5 or 50..2000 A.
constexpr std::array<SetPointRange, 11> kFeeder{{
    {0, 1, 45, 46},
    {1, 1, 45, 46},
    {2, 10, 90, 91},
    {3, 10, 90, 91},
    {4, 10, 90, 91},
    {5, 10, 90, 91},
    {6, 5, 75, 76},
    {7, 5, 75, 76},
    {10, 1, 100, 101},
    {11, 1, 100, 101},
    {17, 50, 2000, 5},
}};

}  // namespace

std::span<const SetPointRange> setPointRanges(int unitType) {
  switch (unitType) {
    case 0:
      return kMotorRelay;
    case 2:
      return kContactor;
    default:
      return kFeeder;
  }
}

bool setPointTaken(int unitType, int reg, uint16_t value) {
  for (const SetPointRange& range : setPointRanges(unitType)) {
    if (range.reg != reg) continue;
    return (value >= range.low && value <= range.high) || value == range.alsoTaken;
  }
  return true;
}

}  // namespace kvlink::sim
