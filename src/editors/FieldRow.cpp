#include "FieldRow.h"

#include <algorithm>

namespace kvlink {

std::string clickHint(const FieldRow& row, int unitType) {
  if (row.hintForType1 && unitType == 1) return row.hintForType1;
  return row.hint ? row.hint : "";
}

std::string hoverHint(const FieldRow& row, int unitType) {
  return row.hover ? row.hover : clickHint(row, unitType);
}

bool typedTextAllowed(std::string_view text, int maxLength) {
  if (int(text.size()) > maxLength) return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int32_t> boxValue(std::string_view text, int maxLength) {
  if (text.empty() || !typedTextAllowed(text, maxLength) || maxLength > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

std::string valueText(const PolledValue& value) {
  return value ? std::to_string(*value) : std::string();
}

std::string refreshText(const PolledValue& value, const std::optional<int>& offValue) {
  std::string text = valueText(value);
  if (offValue && text == std::to_string(*offValue)) return {};
  return text;
}

const FieldRow* findRow(const FieldTable& table, std::string_view box) {
  for (const FieldRow& row : table)
    if (row.box && box == row.box) return &row;
  return nullptr;
}

}  // namespace kvlink
