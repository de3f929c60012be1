#pragma once
// What the one-second poll last read from the selected station: one value
// per kept register word, each empty until first stored and never cleared.
// Values of one family keep what a unit of that family last left in them.

#include <cstdint>
#include <optional>

namespace kvlink {

using PolledValue = std::optional<uint16_t>;

struct PolledValues {
  // Set-point block, registers 0 to 17.
  PolledValue PolledI2tTrip, PolledI2tAlarm;
  PolledValue PolledOvercurrentTrip, PolledOvercurrentAlarm;      // motor R2, R3
  PolledValue PolledUndercurrentTrip, PolledUndercurrentAlarm;    // motor R4, R5
  PolledValue PolledShortTimeTrip, PolledShortTimeAlarm;          // feeder R2, R3
  PolledValue PolledInstantaneousTrip, PolledInstantaneousAlarm;  // feeder R4, R5
  PolledValue PolledUnbalanceTrip, PolledUnbalanceAlarm;
  PolledValue PolledTemperatureTrip, PolledTemperatureAlarm;
  PolledValue PolledLeakageTrip, PolledLeakageAlarm;
  PolledValue PolledFLA, PolledServiceFactor;
  PolledValue ProgramModeWord1, ProgramModeWord2;
  PolledValue PolledPhaseCT, PolledEFCT;

  // Meter values.
  PolledValue PolledAmps, PolledAmpsPercent, PolledPeakCurrent, PolledModulation;  // motor
  PolledValue PolledUnbalance, PolledTemperature, PolledLeakage, PolledPercentI2t;
  PolledValue PolledPhaseA, PolledPhaseB, PolledPhaseC, PolledOpCount;  // feeder

  // Pre-trip values.
  PolledValue PolledPreTripCurrent, PolledPreTripUnbalance, PolledPreTripTemperature;
  PolledValue PolledPreTripLeakage, PolledPreTripPercentI2t;
  PolledValue PolledPreTripPhaseA, PolledPreTripPhaseB, PolledPreTripPhaseC;

  // Other values.
  PolledValue PolledResetTime, PolledETRPeak;
  PolledValue PolledTripStatus, PolledAlarmStatus, PolledMotorStatus;
};

// The network-scan station's identification and status words.
struct ScanValues {
  std::optional<int16_t> ScanUnitType;
  PolledValue ScanTripStatus, ScanAlarmStatus, ScanMotorStatus;
};

}  // namespace kvlink
