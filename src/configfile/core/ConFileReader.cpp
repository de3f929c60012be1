#include "ConFileReader.h"

#include <filesystem>
#include <system_error>

#include "ConNumber.h"
#include "ConfigFileTexts.h"
#include "platform/ProfileText.h"
#include "platform/WholeFile.h"

namespace kvlink {

std::optional<std::string> readConFile(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kConFileMaxBytes) return std::nullopt;
  FileContents contents = readWholeFile(path);
  if (contents.status != ReadStatus::Ok || contents.bytes.size() > kConFileMaxBytes)
    return std::nullopt;
  return std::move(contents.bytes);
}

std::string conValue(std::string_view text, const char* section, const char* key) {
  return profileLookup(text, section, key);
}

bool conTypeIsWhole(std::string_view text) {
  return profileValueIsWhole(text, kConStationTypeSection, kConTypeKey);
}

bool hasConVersion(std::string_view text) {
  return conValue(text, kConStationTypeSection, kConVersionKey) == kConVersion;
}

std::string conStationTypeKeyLine(std::string_view text, const char* key) {
  const std::string value = conValue(text, kConStationTypeSection, key);
  if (value.empty()) return std::string(kMissingSetPointLine) + key;
  return std::string(kBadSetPointLine) + key + '=' + value;
}

std::string conVersionProblemLine(const std::optional<std::string>& file) {
  if (!file) return kUnreadableLine;
  if (hasConVersion(*file)) return {};
  return conStationTypeKeyLine(*file, kConVersionKey);
}

ConTypeCheck checkConType(std::string_view text, int unitType) {
  const std::optional<ConNumber> type =
      parseConNumber(conValue(text, kConStationTypeSection, kConTypeKey));
  if (!type) return ConTypeCheck::NotANumber;
  return type->whole() == unitType ? ConTypeCheck::Matches : ConTypeCheck::Differs;
}

std::string PlannedWrite::progressText() const {
  if (row->compareMask == kCompareWholeWord) return row->progress + text;
  return row->progress + std::to_string(value & row->compareMask);
}

bool PlannedWrite::verifies(uint16_t readBack) const {
  return (readBack & row->compareMask) == (value & row->compareMask);
}

DownloadPlan planDownload(std::string_view text, UnitFamily family) {
  DownloadPlan plan;
  const auto setPointText = [text](const char* key) {
    return conValue(text, kConSetPointsSection, key);
  };
  // Every key first, then every value, each in register order, so that the
  // first problem the operator is told of is the same whatever else is wrong.
  for (const ConKey& key : conFileKeys(family)) {
    if (std::string_view(key.section) != kConSetPointsSection) continue;
    if (setPointText(key.key).empty()) {
      plan.problem = PlanProblem::MissingSetPoint;
      plan.key = key.key;
      return plan;
    }
  }
  for (const ConKey& key : conFileKeys(family)) {
    if (std::string_view(key.section) != kConSetPointsSection) continue;
    // A value cut by the reader would be written as a number it never said.
    if (!profileValueIsWhole(text, kConSetPointsSection, key.key)) {
      plan.problem = PlanProblem::LongSetPoint;
      plan.key = key.key;
      return plan;
    }
    const std::string value = setPointText(key.key);
    if (!parseRegisterValue(value)) {
      plan.problem = PlanProblem::BadSetPoint;
      plan.key = key.key;
      plan.text = value;
      return plan;
    }
  }
  for (const DownloadRow& row : downloadRows(family)) {
    std::string value = setPointText(row.key);
    const uint16_t number = *parseRegisterValue(value);
    plan.writes.push_back({&row, number, std::move(value)});
  }
  return plan;
}

}  // namespace kvlink
