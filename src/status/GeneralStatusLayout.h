#pragma once
// What the General Status window shows for each unit type: the captions and
// visible rows of its three layouts, which polled value goes into which
// value row for each family, the trip and alarm flags with their bits, and
// the captions the nine retitled flags take per unit type.

#include <array>
#include <cstdint>
#include <optional>

#include "PolledValues.h"

namespace kvlink {

constexpr int kMeterRows = 8;
constexpr int kPreTripRows = 8;
constexpr int kLayoutPreTripRows = 6;  // rows 7 and 8 never get a caption

enum class StatusLayout : uint8_t { Motor, Feeder, Type4 };

struct StatusLayoutRows {
  std::array<const char*, kMeterRows> meterCaptions;
  std::array<const char*, kLayoutPreTripRows> preTripCaptions;
  bool meterRow8Shown;
  bool preTripRow6Shown;
};

const StatusLayoutRows& statusLayoutRows(StatusLayout layout);

// Motor for types 0 and 2, Feeder for 1, Type4 for 4; none for any other.
std::optional<StatusLayout> statusLayoutFor(int unitType);

// The polled value written into each value row, by family; nullptr where a
// row is left as it is.
using PolledSource = PolledValue PolledValues::*;
struct StatusValueSources {
  std::array<PolledSource, kMeterRows> meter;
  std::array<PolledSource, kPreTripRows> preTrip;
};

// nullptr for a type that is not identified.
const StatusValueSources* statusValueSources(int unitType);

// Trip and alarm flags in design order, each with its status-word bit.
struct StatusFlag {
  uint16_t bit;
  const char* designCaption;
};
constexpr int kTripFlags = 9;
constexpr int kAlarmFlags = 9;
extern const std::array<StatusFlag, kTripFlags> kTripFlagDesign;
extern const std::array<StatusFlag, kAlarmFlags> kAlarmFlagDesign;

// The nine flags that take the captions of the unit type, in the order the
// refresh captions them.
struct RetitledFlag {
  bool trip;  // else alarm
  uint16_t bit;
};
constexpr int kRetitledFlags = 9;
extern const std::array<RetitledFlag, kRetitledFlags> kRetitledFlagOrder;

// The nine captions of a unit type; nullptr for a type that is not identified.
const std::array<const char*, kRetitledFlags>* retitledFlagCaptions(int unitType);

// Bit of the motor status word that marks an emergency thermal reset.
constexpr uint16_t kEmergencyThermalResetBit = 4;

}  // namespace kvlink
