#pragma once
// What the main window says about the selected station after a pass: its
// run or breaker state, and whether trips or alarms are present.

#include <cstdint>
#include <string>

#include "PolledValues.h"

namespace kvlink {

inline constexpr const char* kNoResponseText = "No Response";
inline constexpr const char* kNotAvailableText = "N/A";

struct TripAlarmText {
  std::string text;
  bool alarming;  // a trip or an alarm is present
};

// "No Response" when the station did not answer, else the run state
// (motor family) or breaker state (feeder family) of the status word.
std::string runtimeStatusText(bool answered, int16_t unitType, const PolledValues& values);

// "N/A" when the station did not answer; otherwise which of trips and
// alarms are present.
TripAlarmText tripAlarmText(bool answered, const PolledValues& values);

}  // namespace kvlink
