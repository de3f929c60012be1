#include "LogRecordDecode.h"

#include "LogStatusTexts.h"
#include "LogTimeStamp.h"

namespace kvlink {

namespace {

using Field = int32_t LogRecordValues::*;

constexpr int kFirstValueWord = 7;

// Value fields in word order from word 7.
constexpr Field kMotorValues[] = {
    &LogRecordValues::LogAmps,
    &LogRecordValues::LogAmpsPercent,
    &LogRecordValues::LogUnbalance,
    &LogRecordValues::LogTemperature,
    &LogRecordValues::LogLeakage,
    &LogRecordValues::LogPercentI2t,
    &LogRecordValues::LogPreTripCurrent,
    &LogRecordValues::LogPreTripUnbalance,
    &LogRecordValues::LogPreTripTemperature,
    &LogRecordValues::LogPreTripLeakage,
    &LogRecordValues::LogPreTripPercentI2t,
};
constexpr Field kFeederValues[] = {
    &LogRecordValues::LogPhaseA,         &LogRecordValues::LogPhaseB,
    &LogRecordValues::LogPhaseC,         &LogRecordValues::LogLeakage,
    &LogRecordValues::LogPercentI2t,     &LogRecordValues::LogOpCount,
    &LogRecordValues::LogPreTripPhaseA,  &LogRecordValues::LogPreTripPhaseB,
    &LogRecordValues::LogPreTripPhaseC,  &LogRecordValues::LogPreTripUnbalance,
    &LogRecordValues::LogPreTripLeakage, &LogRecordValues::LogPreTripPercentI2t,
};
static_assert(kFirstValueWord + std::size(kMotorValues) == logRecordWordCount(LogFamily::Motor));
static_assert(kFirstValueWord + std::size(kFeederValues) == logRecordWordCount(LogFamily::Feeder));

std::span<const Field> valueFields(LogFamily family) {
  if (family == LogFamily::Motor) return kMotorValues;
  return kFeederValues;
}

}  // namespace

int32_t LogRecordValues::*logValueField(LogFamily family, int word) {
  const auto fields = valueFields(family);
  const int index = word - kFirstValueWord;
  if (index < 0 || index >= int(fields.size())) return nullptr;
  return fields[index];
}

bool decodeLogRecord(LogRecordValues& values, std::span<const uint16_t> words, int16_t unitType) {
  const LogFamily family = logFamilyOf(unitType);
  if (words.size() < std::size_t(logRecordWordCount(family))) return false;

  values.LogTripStatus = words[4];
  values.LogAlarmStatus = words[5];
  values.LogMotorStatus = words[6];
  const auto fields = valueFields(family);
  for (std::size_t i = 0; i < fields.size(); ++i) values.*fields[i] = words[kFirstValueWord + i];

  values.LogTripStatusInfo = tripStatusText(family, unitType, words[4]);
  values.LogAlarmStatusInfo = alarmStatusText(family, unitType, words[5]);
  values.LogMotorStatusInfo = unitStatusText(family, words[6]);
  applyTimeWords(values, {words[0], words[1], words[2], words[3]});
  return true;
}

}  // namespace kvlink
