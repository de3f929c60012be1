#include "LoggerSettings.h"

#include <cctype>

#include "LoggerRegisters.h"

namespace kvlink {

LoggerSettings loggerSettingsFromWords(std::span<const uint16_t, 7> words) {
  LoggerSettings s;
  s.LogSampleInterval = words[0];
  s.LogTriggerDuration = words[1];
  s.LogControlWord = words[2];
  s.LogTripMask = words[3];
  s.LogAlarmMask = words[4];
  s.LogStatusMask = words[5];
  s.LogRecordCounter = words[6];
  return s;
}

std::array<LoggerSettingWrite, 6> loggerSettingWrites(const LoggerSettings& s) {
  return {{
      {kSampleInterval, s.LogSampleInterval, "sample interval"},
      {kTriggerDuration, s.LogTriggerDuration, "trigger duration"},
      {kLoggerControlWord, s.LogControlWord, "control word"},
      {kTripTriggerMask, s.LogTripMask, "trip mask"},
      {kAlarmTriggerMask, s.LogAlarmMask, "alarm mask"},
      {kStatusTriggerMask, s.LogStatusMask, "status mask"},
  }};
}

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<int32_t> plainNumber(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

SettingsTextCheck checkSettingsTexts(std::string_view sampleInterval,
                                     std::string_view triggerDuration) {
  SettingsTextCheck check;
  if (sampleInterval.empty()) {
    check.refusal = kSampleIntervalInvalid;
    return check;
  }
  if (triggerDuration.empty()) {
    check.refusal = kTriggerDurationInvalid;
    return check;
  }
  const std::optional<int32_t> interval = plainNumber(sampleInterval);
  if (!interval || *interval < kSampleIntervalMin || *interval > kSampleIntervalMax) {
    check.refusal = kSampleIntervalInvalid;
    return check;
  }
  const std::optional<int32_t> duration = plainNumber(triggerDuration);
  if (!duration || *duration > kTriggerDurationMax) {
    check.refusal = kTriggerDurationInvalid;
    return check;
  }
  check.sampleInterval = *interval;
  check.triggerDuration = static_cast<uint16_t>(*duration);
  return check;
}

bool numberBoxKeyPasses(int keyCode) {
  return (keyCode >= '0' && keyCode <= '9') || keyCode == 8 || keyCode == 13;
}

std::string correctSampleIntervalText(std::string_view text) {
  if (text.empty()) return "1";
  const std::optional<int32_t> value = plainNumber(text);
  if (!value) return std::string(text);
  if (*value == 0) return "1";
  if (*value > kSampleIntervalMax) return std::to_string(kSampleIntervalMax);
  return std::string(text);
}

std::string correctTriggerDurationText(std::string_view text) {
  if (text.empty()) return "0";
  const std::optional<int32_t> value = plainNumber(text);
  if (value && *value > kTriggerDurationMax) return std::to_string(kTriggerDurationMax);
  return std::string(text);
}

}  // namespace kvlink
