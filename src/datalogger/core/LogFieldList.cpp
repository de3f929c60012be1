#include "LogFieldList.h"

#include <span>

namespace kvlink {

namespace {

using V = LogRecordValues;

struct ListField {
  const char* name;
  int32_t V::*number;
  std::string V::*text = nullptr;
};

constexpr ListField kMotorList[] = {
    {"Trip Status=", &V::LogTripStatus, &V::LogTripStatusInfo},
    {"Alarm Status=", &V::LogAlarmStatus, &V::LogAlarmStatusInfo},
    {"Motor Status=", &V::LogMotorStatus, &V::LogMotorStatusInfo},
    {"Ammeter (A)=", &V::LogAmps},
    {"Ammeter (%)=", &V::LogAmpsPercent},
    {"Unbalance (%)=", &V::LogUnbalance},
    {"Temperature=", &V::LogTemperature},
    {"Earth Leakage (x10 A)=", &V::LogLeakage},
    {"Percent I^2t (%)=", &V::LogPercentI2t},
    {"Pre-Trip Current (A)=", &V::LogPreTripCurrent},
    {"Pre-Trip Unbalance (%)=", &V::LogPreTripUnbalance},
    {"Pre-Trip Temperature (C)=", &V::LogPreTripTemperature},
    {"Pre-Trip Earth Leakage (x10 A)=", &V::LogPreTripLeakage},
    {"Pre-Trip I2t=", &V::LogPreTripPercentI2t},
};

constexpr ListField kType1List[] = {
    {"Trip Status=", &V::LogTripStatus, &V::LogTripStatusInfo},
    {"Alarm Status=", &V::LogAlarmStatus, &V::LogAlarmStatusInfo},
    {"Breaker Status=", &V::LogMotorStatus, &V::LogMotorStatusInfo},
    {"Phase A (A)=", &V::LogPhaseA},
    {"Phase B (A)=", &V::LogPhaseB},
    {"Phase C (A)=", &V::LogPhaseC},
    {"Earth Leakage (x10 A)=", &V::LogLeakage},
    {"Percent I^2t (%)=", &V::LogPercentI2t},
    {"Operations Count=", &V::LogOpCount},
    {"Pre-Trip Phase A (A)=", &V::LogPreTripPhaseA},
    {"Pre-Trip Phase B (A)=", &V::LogPreTripPhaseB},
    {"Pre-Trip Phase C (A)=", &V::LogPreTripPhaseC},
    {"Pre-Trip Unbalance (%)=", &V::LogPreTripUnbalance},
    {"Pre-Trip Earth Leakage (x10 A)=", &V::LogPreTripLeakage},
    {"Pre-Trip I^2t=", &V::LogPreTripPercentI2t},
};

constexpr ListField kType4List[] = {
    {"Trip Status=", &V::LogTripStatus, &V::LogTripStatusInfo},
    {"Alarm Status=", &V::LogAlarmStatus, &V::LogAlarmStatusInfo},
    {"Breaker Status=", &V::LogMotorStatus, &V::LogMotorStatusInfo},
    {"Phase A (A)=", &V::LogPhaseA},
    {"Phase B (A)=", &V::LogPhaseB},
    {"Phase C (A)=", &V::LogPhaseC},
    {"Ground Leakage (x10 A)=", &V::LogLeakage},
    {"% Thermal Used=", &V::LogPercentI2t},
    {"Operation Counter=", &V::LogOpCount},
    {"Pre-Trip Phase A (A)=", &V::LogPreTripPhaseA},
    {"Pre-Trip Phase B (A)=", &V::LogPreTripPhaseB},
    {"Pre-Trip Phase C (A)=", &V::LogPreTripPhaseC},
    {"Pre-Trip Unbalance (%)=", &V::LogPreTripUnbalance},
    {"Pre-Trip GND Leakage (x10 A)=", &V::LogPreTripLeakage},
    {"Pre-Trip % Thermal Used=", &V::LogPreTripPercentI2t},
};

std::optional<std::span<const ListField>> listFor(int16_t unitType) {
  switch (unitType) {
    case 0:
    case 2:
      return kMotorList;
    case 1:
      return kType1List;
    case 4:
      return kType4List;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> logFieldListText(const LogRecordValues& values, int16_t unitType) {
  const auto fields = listFor(unitType);
  if (!fields) return std::nullopt;
  std::string text;
  for (const ListField& field : *fields) {
    text += field.name;
    text += std::to_string(values.*field.number);
    if (field.text) text += values.*field.text;
    text += '\r';
  }
  return text;
}

}  // namespace kvlink
