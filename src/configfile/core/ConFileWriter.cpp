#include "ConFileWriter.h"

#include "ConFileFormat.h"
#include "platform/ProfileText.h"
#include "platform/WholeFile.h"

namespace kvlink {

std::optional<std::string> conFileText(int unitType, const RegisterSource& source) {
  const std::optional<UnitFamily> family = unitFamilyOf(unitType);
  if (!family) return std::nullopt;
  std::string text;
  const auto put = [&text](const char* section, const char* key, const std::string& value) {
    text = profileWithValue(text, section, key, value);
  };
  put(kConStationTypeSection, kConTypeKey, std::to_string(unitType));
  put(kConStationTypeSection, kConDescriptionKey, kConDescription);
  put(kConStationTypeSection, kConVersionKey, kConVersion);
  for (const ConKey& key : conFileKeys(*family)) {
    const std::optional<uint16_t> value = source(key.reg);
    if (!value) return std::nullopt;
    put(key.section, key.key, std::to_string(*value));
  }
  return text;
}

bool writeConFile(const std::string& path, std::string_view text) {
  return !path.empty() && replaceWholeFile(path, text);
}

}  // namespace kvlink
