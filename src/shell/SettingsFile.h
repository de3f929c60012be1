#pragma once
// The settings file gridmon.ini as the shell reads and writes it: its keys,
// the text form of each value, and the checks that turn a value read back
// into a setting. A value that is not one the program writes counts as
// missing, so the setting keeps its default.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvlink {

inline const std::string kSettingsFile = "gridmon.ini";

// Sections.
inline const std::string kSettingsSection = "Settings";
inline const std::string kStationSection = "Station";
inline const std::string kMiscSection = "misc";

// Keys of [Settings].
inline const std::string kPortKey = "port";
inline const std::string kCheckModeKey = "checkmode";
inline const std::string kBaudKey = "baud";
inline const std::string kProtocolKey = "protocol";
inline const std::string kStationKey = "station";
inline const std::string kAutoStartKey = "autostart";

// The link settings and the station as the settings file holds them.
struct StoredLinkSettings {
  int16_t CommPort = 1;
  int16_t BaudCode = 96;
  uint8_t UseModbus = 0;
  int16_t CheckMode = 0;
  int16_t CurrentStation = 1;
};

// A whole number written with decimal digits only, within [min, max].
std::optional<int> parseWholeNumber(std::string_view text, int min, int max);

// Each value as the settings file holds it; nullopt for anything else.
std::optional<int16_t> parseStation(std::string_view text);    // "1" .. "63"
std::optional<int16_t> parsePort(std::string_view text);       // "1" .. "4"
std::optional<int16_t> parseBaudCode(std::string_view text);   // "9600" or "96", ...
std::optional<int16_t> parseCheckMode(std::string_view text);  // "0" CRC, "1" BCC
std::optional<uint8_t> parseProtocol(std::string_view text);   // "0" DF1, "1" Modbus RTU

// The start-up switch "autostart": empty (or missing), "0", or anything else.
enum class AutoStart { Empty, Off, On };
AutoStart autoStartOf(std::string_view text);

// What the start-up reads from [Settings]: each valid value replaces the
// default given; allSerialKeysPresent is false when "port", "checkmode",
// "baud" or "protocol" is missing or empty.
struct SettingsReadResult {
  StoredLinkSettings settings;
  bool allSerialKeysPresent = true;
};
SettingsReadResult readStoredLinkSettings(const StoredLinkSettings& defaults);

// "station<n>" of [Station]: the station's name.
std::string stationNameKey(int station);
std::string readStationName(int station);

// Labels show a station name in about this many characters; a longer one is
// cut with an ellipsis and shown whole in the label's tooltip.
inline constexpr int kStationNameShownChars = 40;

// A station name that the profile reader gives back unchanged.
bool isStorableStationName(std::string_view name);

// The full path of gridmon.ini and whether the file exists.
std::string settingsFilePath();
bool settingsFileExists();

// Stores the password of a level (1 general, 2 master) coded in [misc]; an
// empty password stores the no-password value. False when not written.
bool writePassword(int level, std::string_view password);

// First start: writes the [Settings] defaults with autostart off and, with
// `withPasswords`, both passwords as "no password". False when a key could not
// be written.
bool writeDefaultSettings(const StoredLinkSettings& defaults, bool withPasswords);

}  // namespace kvlink
