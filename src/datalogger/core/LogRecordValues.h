#pragma once
// The decoded log record: one logger record (or the unit clock) as the
// viewer, the save file and the auto-retrieve files show it. One instance
// is shared by every reader and writer; a decode overwrites the time texts,
// the status words with their texts and the value fields of the family it
// read, and leaves the other family's fields as they were.

#include <cstdint>
#include <string>

namespace kvlink {

struct LogRecordValues {
  // Time texts (LogTimeStamp.h): year of four digits after the year window,
  // month+day, weekday+hour and minute+second of four digits each.
  std::string LogYear;
  std::string LogMonthDay;
  std::string LogWeekdayHour;
  std::string LogMinuteSecond;
  std::string LogWeekdayName;  // "Sunday" ... "Saturday"

  // Status words (0..65535) and their texts, each text led by one blank.
  int32_t LogTripStatus = 0;
  int32_t LogAlarmStatus = 0;
  int32_t LogMotorStatus = 0;  // motor status or breaker status
  std::string LogTripStatusInfo;
  std::string LogAlarmStatusInfo;
  std::string LogMotorStatusInfo;

  // Motor family only.
  int32_t LogAmps = 0;
  int32_t LogAmpsPercent = 0;
  int32_t LogUnbalance = 0;
  int32_t LogTemperature = 0;
  int32_t LogPreTripCurrent = 0;
  int32_t LogPreTripTemperature = 0;

  // Feeder family only.
  int32_t LogPhaseA = 0;
  int32_t LogPhaseB = 0;
  int32_t LogPhaseC = 0;
  int32_t LogOpCount = 0;
  int32_t LogPreTripPhaseA = 0;
  int32_t LogPreTripPhaseB = 0;
  int32_t LogPreTripPhaseC = 0;

  // Both families.
  int32_t LogLeakage = 0;
  int32_t LogPercentI2t = 0;
  int32_t LogPreTripUnbalance = 0;
  int32_t LogPreTripLeakage = 0;
  int32_t LogPreTripPercentI2t = 0;

  bool operator==(const LogRecordValues&) const = default;
};

}  // namespace kvlink
