#include "ConFileFormat.h"

#include <array>

namespace kvlink {

namespace {

constexpr const char* kSetPoints = kConSetPointsSection;
constexpr const char* kMeter = "Meter";
constexpr const char* kPreTrip = "PreTrip";
constexpr const char* kMisc = "Misc";

constexpr std::array<ConKey, 36> kMotorKeys = {{
    {kSetPoints, "I2tTrip", 0},
    {kSetPoints, "I2tAlarm", 1},
    {kSetPoints, "OvercurrentTrip", 2},
    {kSetPoints, "OvercurrentAlarm", 3},
    {kSetPoints, "UndercurrentTrip", 4},
    {kSetPoints, "UndercurrentAlarm", 5},
    {kSetPoints, "UnbalanceTrip", 6},
    {kSetPoints, "UnbalanceAlarm", 7},
    {kSetPoints, "TemperatureTrip", 8},
    {kSetPoints, "TemperatureAlarm", 9},
    {kSetPoints, "LeakageTrip", 10},
    {kSetPoints, "LeakageAlarm", 11},
    {kSetPoints, "FLA", 12},
    {kSetPoints, "Service Factor", 13},
    {kSetPoints, "Mode8 Level 1", 14},
    {kSetPoints, "Mode8 Level 2", 15},
    {kSetPoints, "Phase CT", 16},
    {kSetPoints, "EFCT", 17},
    {kMeter, "Amps", 24},
    {kMeter, "AmpsPercent", 25},
    {kMeter, "PeakCurrent", 26},
    {kMeter, "Modulation", 27},
    {kMeter, "Unbalance", 28},
    {kMeter, "Temperature", 29},
    {kMeter, "Leakage", 30},
    {kMeter, "PercentI2t", 31},
    {kPreTrip, "PreTripCurrent", 32},
    {kPreTrip, "PreTripUnbalance", 33},
    {kPreTrip, "PreTripTemperature", 34},
    {kPreTrip, "PreTripLeakage", 35},
    {kPreTrip, "PreTripPercentI2t", 36},
    {kMisc, "ResetTime", 37},
    {kMisc, "ETRPeak", 38},
    {kMisc, "TripStatus", 40},
    {kMisc, "AlarmStatus", 41},
    {kMisc, "MotorStatus", 42},
}};

// Registers 8, 9 and 13 are not kept for this family.
constexpr std::array<ConKey, 32> kFeederKeys = {{
    {kSetPoints, "I2tTrip", 0},
    {kSetPoints, "I2tAlarm", 1},
    {kSetPoints, "ShortTimeTrip", 2},
    {kSetPoints, "ShortTimeAlarm", 3},
    {kSetPoints, "InstantaneousTrip", 4},
    {kSetPoints, "InstantaneousAlarm", 5},
    {kSetPoints, "UnbalanceTrip", 6},
    {kSetPoints, "UnbalanceAlarm", 7},
    {kSetPoints, "LeakageTrip", 10},
    {kSetPoints, "LeakageAlarm", 11},
    {kSetPoints, "FLA", 12},
    {kSetPoints, "Mode5 Level 1", 14},
    {kSetPoints, "Mode5 Level 2", 15},
    {kSetPoints, "Phase CT", 16},
    {kSetPoints, "EFCT", 17},
    {kMeter, "PhaseA", 24},
    {kMeter, "PhaseB", 25},
    {kMeter, "PhaseC", 26},
    {kMeter, "Unbalance", 27},
    {kMeter, "Leakage", 28},
    {kMeter, "PercentI2t", 29},
    {kMeter, "OpCount", 36},
    {kPreTrip, "PreTripPhaseA", 30},
    {kPreTrip, "PreTripPhaseB", 31},
    {kPreTrip, "PreTripPhaseC", 32},
    {kPreTrip, "PreTripUnbalance", 33},
    {kPreTrip, "PreTripLeakage", 34},
    {kPreTrip, "PreTripPercentI2t", 35},
    {kMisc, "ResetTime", 37},
    {kMisc, "TripStatus", 40},
    {kMisc, "AlarmStatus", 41},
    {kMisc, "MotorStatus", 42},
}};

}  // namespace

std::optional<UnitFamily> unitFamilyOf(int unitType) {
  switch (unitType) {
    case 0:
    case 2:
      return UnitFamily::Motor;
    case 1:
    case 4:
      return UnitFamily::Feeder;
    default:
      return std::nullopt;
  }
}

std::span<const ConKey> conFileKeys(UnitFamily family) {
  if (family == UnitFamily::Motor) return kMotorKeys;
  return kFeederKeys;
}

}  // namespace kvlink
