#include "MainStatusText.h"

#include "UnitStateText.h"

namespace kvlink {

std::string runtimeStatusText(bool answered, int16_t unitType, const PolledValues& values) {
  if (!answered) return kNoResponseText;
  return unitStateText(unitType, values.PolledMotorStatus.value_or(0xFFFF));
}

TripAlarmText tripAlarmText(bool answered, const PolledValues& values) {
  if (!answered) return {kNotAvailableText, false};
  const bool trips = values.PolledTripStatus.value_or(0) != 0;
  const bool alarms = values.PolledAlarmStatus.value_or(0) != 0;
  if (trips && alarms) return {"TRIPS AND ALARMS", true};
  if (trips) return {"TRIPS", true};
  if (alarms) return {"ALARMS", true};
  return {"No trips or alarms", false};
}

}  // namespace kvlink
