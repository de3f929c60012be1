#pragma once
// The auto-retrieve keys of [Settings] in gridmon.ini: what "Enable" and
// "Disable" write, and the rules by which the start-up reads them back.
// Start-up reads autorclimit, autodir, autostationnum, the first
// autostationnum station keys and autoretrieve, in that order; the first value
// refused ends the reading with auto retrieve off.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvlink {

inline const std::string kAutoRetrieveKey = "autoretrieve";
inline const std::string kAutoRecordLimitKey = "autorclimit";
inline const std::string kAutoStationNumKey = "autostationnum";
inline const std::string kAutoDirKey = "autodir";
inline const std::array<std::string, 5> kAutoStationKeys = {
    "autostationa", "autostationb", "autostationc", "autostationd", "autostatione"};

constexpr int kAutoStationSlots = 5;
constexpr int16_t kAutoStationMin = 1;
constexpr int16_t kAutoStationMax = 63;
constexpr int16_t kAutoRecordLimitMin = 10;
constexpr int16_t kAutoRecordLimitMax = 250;
constexpr int16_t kAutoRecordLimitStep = 10;
constexpr int16_t kAutoRecordLimitDefault = 50;

// The record limit as start-up takes it from autorclimit: nothing (refused)
// when empty or not a whole number; 50 for a number of 9 or less or of 251 or
// more; else the number, shown as read.
struct RestoredRecordLimit {
  int16_t limit = kAutoRecordLimitDefault;
  std::string shown;  // what the limit label shows
};
std::optional<RestoredRecordLimit> restoredRecordLimit(std::string_view text);

// The station count from autostationnum: "1".."5" (a whole number 1 to 5);
// anything else is refused.
std::optional<int16_t> restoredStationCount(std::string_view text);

// A station number from autostationa..e: a whole number 1 to 63; anything
// else (empty, 0, 64 and above, not a number) is refused.
std::optional<int16_t> restoredStation(std::string_view text);

// autoretrieve: on only for "1".
bool restoredAutoRetrieveOn(std::string_view text);

// A directory in autodir that takes no files, and why.
struct UnwritableDirectory {
  std::string directory;
  std::string reason;
};

// What the start-up restore found. Values accepted before a refusal are
// kept, so that the window shows them; `refused` means auto retrieve is off.
struct RestoredAutoRetrieve {
  std::optional<RestoredRecordLimit> limit;
  std::optional<std::string> directory;  // resolved; written back to autodir
  // autodir takes no files: `directory` is the temporary one, autodir stays.
  std::optional<UnwritableDirectory> unwritable;
  std::vector<int16_t> stations;  // in list order, from slot 1
  bool on = false;                // every key accepted and autoretrieve "1"
  bool refused = false;
};

// Reads the keys in their order through `read`. An empty autodir gives
// `tempDirectory`, and so does one that `probe` (the test.log probe) finds
// takes no files, for the reason it gives (empty when writable).
RestoredAutoRetrieve restoreAutoRetrieveSettings(
    const std::function<std::string(const std::string& key)>& read,
    const std::function<std::string(const std::string& directory)>& probe,
    const std::string& tempDirectory);

using SettingWrite = std::pair<std::string, std::string>;

// The writes of "Enable", in order: autoretrieve "1", autorclimit,
// autostationnum, autodir, the five station keys "0", then the station keys
// of the list.
std::vector<SettingWrite> enableSettingWrites(int16_t recordLimit,
                                              const std::vector<int16_t>& stations,
                                              const std::string& directory);

// The writes of "Disable": autoretrieve "0", autostationnum "0".
std::vector<SettingWrite> disableSettingWrites();

}  // namespace kvlink
