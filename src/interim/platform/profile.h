#pragma once
#include <string>
namespace kvlink {
std::string ReadIni(const std::string& section, const std::string& key, const std::string& file);
bool WriteIni(const std::string& section, const std::string& key, const std::string& value, const std::string& file);
}
