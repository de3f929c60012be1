#include "ConNumber.h"

namespace kvlink {

namespace {

constexpr int kMaxIntegerDigits = 18;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int64_t> ConNumber::whole() const {
  if (fractional || tooLarge) return std::nullopt;
  const auto value = static_cast<int64_t>(integer);
  return negative ? -value : value;
}

std::optional<ConNumber> parseConNumber(std::string_view text) {
  ConNumber number;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    number.negative = text[pos] == '-';
    ++pos;
  }
  int integerDigits = 0;
  int significantDigits = 0;
  for (; pos < text.size() && isDigit(text[pos]); ++pos, ++integerDigits) {
    if (significantDigits == 0 && text[pos] == '0') continue;
    if (++significantDigits > kMaxIntegerDigits) {
      number.tooLarge = true;
      continue;
    }
    number.integer = number.integer * 10 + static_cast<uint64_t>(text[pos] - '0');
  }
  int fractionDigits = 0;
  if (pos < text.size() && text[pos] == '.') {
    for (++pos; pos < text.size() && isDigit(text[pos]); ++pos, ++fractionDigits)
      if (text[pos] != '0') number.fractional = true;
  }
  if (pos != text.size() || integerDigits + fractionDigits == 0) return std::nullopt;
  return number;
}

std::optional<uint16_t> parseRegisterValue(std::string_view text) {
  const std::optional<ConNumber> number = parseConNumber(text);
  if (!number) return std::nullopt;
  const std::optional<int64_t> value = number->whole();
  if (!value || *value < 0 || *value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(*value);
}

}  // namespace kvlink
