#pragma once
// Writing one key of gridmon.ini for a window that changes a setting. A key
// that cannot be written is reported, so that the operator does not take a
// lost setting for a saved one.

#include <string>
#include <utility>
#include <vector>

namespace kvlink {

class Host;

// True when written; otherwise shows a message naming the file and the key.
bool saveSetting(Host& host, const std::string& section, const std::string& key,
                 const std::string& value);

// Writes every key; true when all were written, otherwise one message names
// the file and every key that was not.
using SettingValues = std::vector<std::pair<std::string, std::string>>;
bool saveSettings(Host& host, const std::string& section, const SettingValues& keys);

}  // namespace kvlink
