#include "SetPointRanges.h"

#include <array>
#include <span>

namespace kvlink::sim {
namespace {

constexpr int kNone = -1;

// Motor family (types 0 and 2): thermal limit 1..45 s, overcurrent
// 100..600 %, undercurrent 15..100 %, unbalance 5..75 %, temperature
// 50..220 C, earth leakage 1..100 %, each with its off value; service factor
// 100..125 and the earth-fault CT 5 or 50..2000 A.
constexpr std::array<SetPointRange, 14> kMotorFamily{{
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

// Where the contactor unit (type 2) differs: the thermal limit's off value is
// 998, and the overcurrent set points (a multiple of FLA) are not checked.
constexpr std::array<SetPointRange, 4> kContactorDifferences{{
    {0, 1, 45, 998},
    {1, 1, 45, 998},
    {2, 0, 0xFFFF, kNone},
    {3, 0, 0xFFFF, kNone},
}};

// Feeder family (types 1 and 4): thermal limit 1..45 s, short time and
// instantaneous 1.0..9.0 times the CT rating (10..90), unbalance 5..75 %,
// earth (ground) fault 1..100 %, and the earth-fault CT 5 or 50..2000 A.
constexpr std::array<SetPointRange, 11> kFeederFamily{{
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

std::optional<SetPointRange> find(std::span<const SetPointRange> table, int reg) {
  for (const SetPointRange& range : table)
    if (range.reg == reg) return range;
  return std::nullopt;
}

}  // namespace

std::optional<SetPointRange> setPointRange(int unitType, int reg) {
  if (unitType == 2)
    if (auto range = find(kContactorDifferences, reg)) return range;
  if (unitType == 0 || unitType == 2) return find(kMotorFamily, reg);
  return find(kFeederFamily, reg);
}

bool setPointTaken(int unitType, int reg, uint16_t value) {
  const std::optional<SetPointRange> range = setPointRange(unitType, reg);
  return !range || (value >= range->low && value <= range->high) || value == range->alsoTaken;
}

}  // namespace kvlink::sim
