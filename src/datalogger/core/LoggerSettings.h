#pragma once
// The logger settings of one unit (registers 132 to 138) as last loaded from
// it or sent to it, the six writes that send them, and the rules for the two
// number boxes of the Configure Data Logging window.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kvlink {

struct LoggerSettings {
  int32_t LogSampleInterval = 0;  // seconds, 1..65535
  uint16_t LogTriggerDuration = 0;
  uint16_t LogControlWord = 0;
  uint16_t LogTripMask = 0;
  uint16_t LogAlarmMask = 0;
  uint16_t LogStatusMask = 0;
  uint16_t LogRecordCounter = 0;  // read, never sent
  bool operator==(const LoggerSettings&) const = default;
};

// The seven words of registers 132..138, in register order.
LoggerSettings loggerSettingsFromWords(std::span<const uint16_t, 7> words);

// One register write of a send.
struct LoggerSettingWrite {
  int reg;
  int32_t value;
  std::string_view name;  // "sample interval", ... for messages
};
// Registers 132..137 in the order they are written.
std::array<LoggerSettingWrite, 6> loggerSettingWrites(const LoggerSettings& settings);

inline constexpr int32_t kSampleIntervalMin = 1;
inline constexpr int32_t kSampleIntervalMax = 65535;
inline constexpr int32_t kTriggerDurationMax = 249;

inline constexpr std::string_view kSampleIntervalInvalid =
    "Sample Interval is Invalid. Please change to a value between 1 and 65535";
inline constexpr std::string_view kTriggerDurationInvalid =
    "Trigger Duration is Invalid. Please change to a value between 0 and 249";

// The value of a box that holds a plain decimal number (digits only, blanks
// around it allowed); nothing for any other text or a number too large to
// hold.
std::optional<int32_t> plainNumber(std::string_view text);

// The two boxes checked before a send: the values to send, or the message
// that refuses them. Both boxes are tested for emptiness before either
// value is tested; only plain numbers in range pass, so nothing outside
// 1..65535 or 0..249 is ever sent.
struct SettingsTextCheck {
  std::optional<std::string_view> refusal;
  int32_t sampleInterval = 0;
  uint16_t triggerDuration = 0;
};
SettingsTextCheck checkSettingsTexts(std::string_view sampleInterval,
                                     std::string_view triggerDuration);

// Key filter of both boxes: digits, Backspace (8) and Enter (13) pass.
bool numberBoxKeyPasses(int keyCode);

// The correction Enter makes to a box, comparing numbers: the sample
// interval from empty or 0 to 1 and above 65535 to 65535; the trigger
// duration from empty to 0 and above 249 to 249. Other text stays.
std::string correctSampleIntervalText(std::string_view text);
std::string correctTriggerDurationText(std::string_view text);

}  // namespace kvlink
