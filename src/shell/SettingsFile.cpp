#include "SettingsFile.h"

#include <sys/stat.h>

#include "PasswordCoding.h"
#include "platform/Profile.h"
#include "platform/SettingsDirectory.h"

namespace kvlink {

namespace {

// Baud codes (baud / 100); the file holds the code, and the baud rate itself
// is read as well.
constexpr int16_t kBaudCodes[] = {96, 48, 24, 12};

}  // namespace

std::optional<int> parseWholeNumber(std::string_view text, int min, int max) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<int16_t> parseStation(std::string_view text) {
  if (auto n = parseWholeNumber(text, 1, 63)) return static_cast<int16_t>(*n);
  return std::nullopt;
}

std::optional<int16_t> parsePort(std::string_view text) {
  if (auto n = parseWholeNumber(text, 1, 4)) return static_cast<int16_t>(*n);
  return std::nullopt;
}

std::optional<int16_t> parseBaudCode(std::string_view text) {
  const auto n = parseWholeNumber(text, 1, 9600);
  if (!n) return std::nullopt;
  for (int16_t code : kBaudCodes)
    if (*n == code || *n == code * 100) return code;
  return std::nullopt;
}

std::optional<int16_t> parseCheckMode(std::string_view text) {
  if (auto n = parseWholeNumber(text, 0, 1)) return static_cast<int16_t>(*n);
  return std::nullopt;
}

std::optional<uint8_t> parseProtocol(std::string_view text) {
  if (auto n = parseWholeNumber(text, 0, 1)) return static_cast<uint8_t>(*n);
  return std::nullopt;
}

AutoStart autoStartOf(std::string_view text) {
  if (text.empty()) return AutoStart::Empty;
  if (text == "0") return AutoStart::Off;
  return AutoStart::On;
}

SettingsReadResult readStoredLinkSettings(const StoredLinkSettings& defaults) {
  SettingsReadResult result{defaults, true};
  StoredLinkSettings& s = result.settings;
  auto read = [&](const std::string& key, bool serial) {
    std::string value = ReadIni(kSettingsSection, key, kSettingsFile);
    if (serial && value.empty()) result.allSerialKeysPresent = false;
    return value;
  };
  // Read in the order the start-up has always read them.
  if (auto v = parsePort(read(kPortKey, true))) s.CommPort = *v;
  if (auto v = parseCheckMode(read(kCheckModeKey, true))) s.CheckMode = *v;
  if (auto v = parseBaudCode(read(kBaudKey, true))) s.BaudCode = *v;
  if (auto v = parseProtocol(read(kProtocolKey, true))) s.UseModbus = *v;
  if (auto v = parseStation(read(kStationKey, false))) s.CurrentStation = *v;
  return result;
}

std::string stationNameKey(int station) {
  return "station" + std::to_string(station);
}

std::string readStationName(int station) {
  return ReadIni(kStationSection, stationNameKey(station), kSettingsFile);
}

bool isStorableStationName(std::string_view name) {
  if (name.size() > 255) return false;
  for (char c : name)
    if (c == '\r' || c == '\n' || c == '\0') return false;
  // The reader trims outer blanks and one pair of enclosing quotes.
  if (!name.empty() &&
      (name.front() == ' ' || name.front() == '\t' || name.back() == ' ' || name.back() == '\t'))
    return false;
  if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
      name.back() == name.front())
    return false;
  return true;
}

std::string settingsFilePath() {
  return resolveProfilePath(kSettingsFile);
}

bool settingsFileExists() {
  struct stat info {};
  return ::stat(settingsFilePath().c_str(), &info) == 0;
}

bool writePassword(int level, std::string_view password) {
  const std::string key = passwordKey(level);
  if (key.empty()) return false;
  const std::string stored = password.empty() ? kNoPassword : encodePassword(password);
  return WriteIni(kMiscSection, key, stored, kSettingsFile);
}

bool writeDefaultSettings(const StoredLinkSettings& defaults, bool withPasswords) {
  const std::pair<const std::string*, std::string> settings[] = {
      {&kPortKey, std::to_string(defaults.CommPort)},
      {&kCheckModeKey, std::to_string(defaults.CheckMode)},
      {&kBaudKey, std::to_string(defaults.BaudCode)},
      {&kProtocolKey, std::to_string(defaults.UseModbus)},
      {&kStationKey, std::to_string(defaults.CurrentStation)},
      {&kAutoStartKey, "0"},
  };
  bool ok = true;
  for (const auto& [key, value] : settings)
    ok = WriteIni(kSettingsSection, *key, value, kSettingsFile) && ok;
  if (!withPasswords) return ok;
  ok = writePassword(1, {}) && ok;
  ok = writePassword(2, {}) && ok;
  return ok;
}

}  // namespace kvlink
