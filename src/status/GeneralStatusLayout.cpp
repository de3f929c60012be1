#include "GeneralStatusLayout.h"

namespace kvlink {

namespace {

using PV = PolledValues;

constexpr StatusLayoutRows kMotorLayout{
    {"Ammeter (A)", "Ammeter (%)", "Peak Current (A)", "Unbalance (%)", "Temperature (C)",
     "Modulation (%)", "Earth Leakage (Ax10)", "Percent I^2t"},
    {"Current (A)", "Unbalance (%)", "Temperature (C)", "Percent I^2t", "Earth Leakage (Ax10)",
     "Percent I^2t"},
    true,
    false,
};

constexpr StatusLayoutRows kFeederLayout{
    {"Phase A (A)", "Phase B (A)", "Phase C (A)", "Unbalance (%)", "Earth Leakage (Ax10)",
     "Percent I^2t", "Operations Count", "Percent I^2t"},
    {"Phase A (A)", "Phase B (A)", "Phase C (A)", "Unbalance (%)", "Earth Leakage (Ax10)",
     "Percent I^2t"},
    false,
    true,
};

constexpr StatusLayoutRows kType4Layout{
    {"Phase A (A)", "Phase B (A)", "Phase C (A)", "Unbalance (%)", "Ground Leakage (Ax10)",
     "% Thermal Used", "Operation Counter", "% Thermal Used"},
    {"Phase A (A)", "Phase B (A)", "Phase C (A)", "Unbalance (%)", "Ground Leakage (Ax10)",
     "% Thermal Used"},
    false,
    true,
};

const StatusValueSources kMotorSources{
    {&PV::PolledAmps, &PV::PolledAmpsPercent, &PV::PolledPeakCurrent, &PV::PolledUnbalance,
     &PV::PolledTemperature, &PV::PolledModulation, &PV::PolledLeakage, &PV::PolledPercentI2t},
    {&PV::PolledPreTripCurrent, &PV::PolledPreTripUnbalance, &PV::PolledPreTripTemperature,
     &PV::PolledPreTripPercentI2t, &PV::PolledPreTripLeakage, nullptr, nullptr, nullptr},
};

const StatusValueSources kFeederSources{
    {&PV::PolledPhaseA, &PV::PolledPhaseB, &PV::PolledPhaseC, &PV::PolledUnbalance,
     &PV::PolledLeakage, &PV::PolledPercentI2t, &PV::PolledOpCount, nullptr},
    {&PV::PolledPreTripPhaseA, &PV::PolledPreTripPhaseB, &PV::PolledPreTripPhaseC,
     &PV::PolledPreTripUnbalance, &PV::PolledPreTripLeakage, &PV::PolledPreTripPercentI2t, nullptr,
     nullptr},
};

using Captions = std::array<const char*, kRetitledFlags>;

constexpr Captions kType0Captions{
    "---> I^2t Thermal Capacity Trip",  "---> Overcurrent Trip",
    "---> Undercurrent Trip",           "---> Temperature Trip",
    "---> I^2t Thermal Capacity Alarm", "---> Overcurrent Alarm",
    "---> Undercurrent Alarm",          "---> Temperature Alarm",
    "---> Short-Circuit Trip",
};
constexpr Captions kType1Captions{
    "---> I^2t Thermal Capacity Trip",
    "---> Short Time Trip",
    "---> Instantaneous Trip",
    "---> Earth Fault Trip",
    "---> I^2t Thermal Capacity Alarm",
    "---> Short Time Alarm",
    "---> Instantaneous Alarm",
    "---> Earth Fault Alarm",
    "---> Remote Trip",
};
constexpr Captions kType2Captions{
    "---> I^2t Thermal Capacity Trip",
    "---> Overcurrent Trip",
    "---> Undercurrent Trip",
    "---> Temperature Trip",
    "---> I^2t Thermal Capacity Alarm",
    "---> Overcurrent Alarm",
    "---> Undercurrent Alarm",
    "---> Temperature Alarm",
    "---> Remote Trip",
};
constexpr Captions kType4Captions{
    "---> % Thermal Used Trip", "---> Short Time Trip",      "---> Instantaneous Trip",
    "---> Ground Fault Trip",   "---> % Thermal Used Alarm", "---> Short Time Alarm",
    "---> Instantaneous Alarm", "---> Ground Fault Alarm",   "---> Remote Trip",
};

}  // namespace

const std::array<StatusFlag, kTripFlags> kTripFlagDesign{{
    {1, "---> I2t Thermal Capacity Trip"},
    {2, "---> Overcurrent Trip"},
    {4, "---> Undercurrent Trip"},
    {8, "---> Unbalance Trip"},
    {16, "---> Temperature Trip"},
    {32, "---> Earth Fault Trip"},
    {64, "---> Short-Circuit Trip"},
    {128, "---> Non-Volatile Memory Trip"},
    {256, "---> Phase-Reverse Trip"},
}};

const std::array<StatusFlag, kAlarmFlags> kAlarmFlagDesign{{
    {1, "---> I2t Thermal Capacity Alarm"},
    {2, "---> Overcurrent Alarm"},
    {4, "---> Undercurrent Alarm"},
    {8, "---> Unbalance Alarm"},
    {16, "---> Temperature Alarm"},
    {32, "---> Earth-Leakage Alarm"},
    {128, "---> Non-Volatile Memory Alarm"},
    {256, "---> Shorted-RTD Alarm"},
    {512, "---> Open-RTD Alarm"},
}};

const std::array<RetitledFlag, kRetitledFlags> kRetitledFlagOrder{{
    {true, 1},
    {true, 2},
    {true, 4},
    {true, 16},
    {false, 1},
    {false, 2},
    {false, 4},
    {false, 16},
    {true, 64},
}};

const StatusLayoutRows& statusLayoutRows(StatusLayout layout) {
  switch (layout) {
    case StatusLayout::Feeder:
      return kFeederLayout;
    case StatusLayout::Type4:
      return kType4Layout;
    case StatusLayout::Motor:
      break;
  }
  return kMotorLayout;
}

std::optional<StatusLayout> statusLayoutFor(int unitType) {
  switch (unitType) {
    case 0:
    case 2:
      return StatusLayout::Motor;
    case 1:
      return StatusLayout::Feeder;
    case 4:
      return StatusLayout::Type4;
    default:
      return std::nullopt;
  }
}

const StatusValueSources* statusValueSources(int unitType) {
  if (unitType == 0 || unitType == 2) return &kMotorSources;
  if (unitType == 1 || unitType == 4) return &kFeederSources;
  return nullptr;
}

const std::array<const char*, kRetitledFlags>* retitledFlagCaptions(int unitType) {
  switch (unitType) {
    case 0:
      return &kType0Captions;
    case 1:
      return &kType1Captions;
    case 2:
      return &kType2Captions;
    case 4:
      return &kType4Captions;
    default:
      return nullptr;
  }
}

}  // namespace kvlink
