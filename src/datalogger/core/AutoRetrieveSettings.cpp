#include "AutoRetrieveSettings.h"

#include <cctype>

namespace kvlink {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A whole number with an optional sign; its value saturates at +-1000000,
// which is far outside every range tested here.
std::optional<long> wholeNumber(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    if (value < 1000000) value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

std::optional<int16_t> numberWithin(std::string_view text, long min, long max) {
  const std::optional<long> value = wholeNumber(text);
  if (!value || *value < min || *value > max) return std::nullopt;
  return static_cast<int16_t>(*value);
}

}  // namespace

std::optional<RestoredRecordLimit> restoredRecordLimit(std::string_view text) {
  const std::optional<long> value = wholeNumber(text);
  if (!value) return std::nullopt;
  if (*value <= kAutoRecordLimitMin - 1 || *value >= kAutoRecordLimitMax + 1)
    return RestoredRecordLimit{kAutoRecordLimitDefault, std::to_string(kAutoRecordLimitDefault)};
  return RestoredRecordLimit{static_cast<int16_t>(*value), std::string(trimmed(text))};
}

std::optional<int16_t> restoredStationCount(std::string_view text) {
  return numberWithin(text, 1, kAutoStationSlots);
}

std::optional<int16_t> restoredStation(std::string_view text) {
  return numberWithin(text, kAutoStationMin, kAutoStationMax);
}

bool restoredAutoRetrieveOn(std::string_view text) {
  return text == "1";
}

RestoredAutoRetrieve restoreAutoRetrieveSettings(
    const std::function<std::string(const std::string& key)>& read,
    const std::function<std::string(const std::string& directory)>& probe,
    const std::string& tempDirectory) {
  RestoredAutoRetrieve restored;
  auto refuse = [&restored] {
    restored.refused = true;
    return restored;
  };

  restored.limit = restoredRecordLimit(read(kAutoRecordLimitKey));
  if (!restored.limit) return refuse();

  std::string directory = read(kAutoDirKey);
  if (directory.empty()) {
    directory = tempDirectory;
  } else if (std::string reason = probe(directory); !reason.empty()) {
    restored.unwritable = UnwritableDirectory{directory, std::move(reason)};
    directory = tempDirectory;
  }
  restored.directory = directory;

  const std::optional<int16_t> count = restoredStationCount(read(kAutoStationNumKey));
  if (!count) return refuse();
  for (int i = 0; i < *count; ++i) {
    const std::optional<int16_t> station = restoredStation(read(kAutoStationKeys[i]));
    if (!station) return refuse();
    restored.stations.push_back(*station);
  }

  restored.on = restoredAutoRetrieveOn(read(kAutoRetrieveKey));
  return restored;
}

std::vector<SettingWrite> enableSettingWrites(int16_t recordLimit,
                                              const std::vector<int16_t>& stations,
                                              const std::string& directory) {
  std::vector<SettingWrite> writes = {
      {kAutoRetrieveKey, "1"},
      {kAutoRecordLimitKey, std::to_string(recordLimit)},
      {kAutoStationNumKey, std::to_string(stations.size())},
      {kAutoDirKey, directory},
  };
  for (const std::string& key : kAutoStationKeys) writes.emplace_back(key, "0");
  for (size_t i = 0; i < stations.size() && i < kAutoStationKeys.size(); ++i)
    writes.emplace_back(kAutoStationKeys[i], std::to_string(stations[i]));
  return writes;
}

std::vector<SettingWrite> disableSettingWrites() {
  return {{kAutoRetrieveKey, "0"}, {kAutoStationNumKey, "0"}};
}

}  // namespace kvlink
