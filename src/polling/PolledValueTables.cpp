#include "PolledValueTables.h"

#include <algorithm>

#include "ProgramState.h"

namespace kvlink {

using V = PolledValues;

// Status/meter block, word n = register 24 + n. Word 15 is the
// identification word and is never kept.
const MeterTable kMotorMeterTable = {
    &V::PolledAmps,                // 24
    &V::PolledAmpsPercent,         // 25
    &V::PolledPeakCurrent,         // 26
    &V::PolledModulation,          // 27
    &V::PolledUnbalance,           // 28
    &V::PolledTemperature,         // 29
    &V::PolledLeakage,             // 30
    &V::PolledPercentI2t,          // 31
    &V::PolledPreTripCurrent,      // 32
    &V::PolledPreTripUnbalance,    // 33
    &V::PolledPreTripTemperature,  // 34
    &V::PolledPreTripLeakage,      // 35
    &V::PolledPreTripPercentI2t,   // 36
    &V::PolledResetTime,           // 37
    &V::PolledETRPeak,             // 38
    nullptr,                       // 39
    &V::PolledTripStatus,          // 40
    &V::PolledAlarmStatus,         // 41
    &V::PolledMotorStatus,         // 42
};

const MeterTable kFeederMeterTable = {
    &V::PolledPhaseA,             // 24
    &V::PolledPhaseB,             // 25
    &V::PolledPhaseC,             // 26
    &V::PolledUnbalance,          // 27
    &V::PolledLeakage,            // 28
    &V::PolledPercentI2t,         // 29
    &V::PolledPreTripPhaseA,      // 30
    &V::PolledPreTripPhaseB,      // 31
    &V::PolledPreTripPhaseC,      // 32
    &V::PolledPreTripUnbalance,   // 33
    &V::PolledPreTripLeakage,     // 34
    &V::PolledPreTripPercentI2t,  // 35
    &V::PolledOpCount,            // 36
    &V::PolledResetTime,          // 37
    nullptr,                      // 38
    nullptr,                      // 39
    &V::PolledTripStatus,         // 40
    &V::PolledAlarmStatus,        // 41
    &V::PolledMotorStatus,        // 42
};

// Set-point block, word n = register n; only registers 2 to 5 differ.
const SetPointTable kMotorSetPointTable = {
    &V::PolledI2tTrip,
    &V::PolledI2tAlarm,
    &V::PolledOvercurrentTrip,
    &V::PolledOvercurrentAlarm,
    &V::PolledUndercurrentTrip,
    &V::PolledUndercurrentAlarm,
    &V::PolledUnbalanceTrip,
    &V::PolledUnbalanceAlarm,
    &V::PolledTemperatureTrip,
    &V::PolledTemperatureAlarm,
    &V::PolledLeakageTrip,
    &V::PolledLeakageAlarm,
    &V::PolledFLA,
    &V::PolledServiceFactor,
    &V::ProgramModeWord1,
    &V::ProgramModeWord2,
    &V::PolledPhaseCT,
    &V::PolledEFCT,
};

const SetPointTable kFeederSetPointTable = {
    &V::PolledI2tTrip,
    &V::PolledI2tAlarm,
    &V::PolledShortTimeTrip,
    &V::PolledShortTimeAlarm,
    &V::PolledInstantaneousTrip,
    &V::PolledInstantaneousAlarm,
    &V::PolledUnbalanceTrip,
    &V::PolledUnbalanceAlarm,
    &V::PolledTemperatureTrip,
    &V::PolledTemperatureAlarm,
    &V::PolledLeakageTrip,
    &V::PolledLeakageAlarm,
    &V::PolledFLA,
    &V::PolledServiceFactor,
    &V::ProgramModeWord1,
    &V::ProgramModeWord2,
    &V::PolledPhaseCT,
    &V::PolledEFCT,
};

const MeterTable& meterTableFor(int16_t unitType) {
  return isMotorFamily(unitType) ? kMotorMeterTable : kFeederMeterTable;
}

const SetPointTable& setPointTableFor(int16_t unitType) {
  return isMotorFamily(unitType) ? kMotorSetPointTable : kFeederSetPointTable;
}

void storeWords(PolledValues& values, std::span<const PolledMember> table,
                std::span<const uint16_t> words) {
  const size_t count = std::min(table.size(), words.size());
  for (size_t n = 0; n < count; ++n)
    if (table[n]) values.*table[n] = words[n];
}

}  // namespace kvlink
