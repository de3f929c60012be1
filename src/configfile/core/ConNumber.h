#pragma once
// Numbers as a configuration file holds them: decimal digits with an
// optional sign and an optional decimal point ("12", "+12", "12.0", "2.",
// ".5"). Nothing else is a number: no blanks inside, exponents, hexadecimal
// prefixes or locale separators.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kvlink {

struct ConNumber {
  bool negative = false;
  bool fractional = false;  // a nonzero digit after the decimal point
  bool tooLarge = false;    // more than 18 integer digits
  uint64_t integer = 0;     // the integer part's magnitude

  // The value when it is a whole number that fits; nullopt otherwise.
  std::optional<int64_t> whole() const;
};

// nullopt when the text is not a number in the form above.
std::optional<ConNumber> parseConNumber(std::string_view text);

// A register value: a whole number from 0 to 65535 ("-0" and "7.00" too);
// nullopt for anything else, which is refused, never rounded or cut.
std::optional<uint16_t> parseRegisterValue(std::string_view text);

}  // namespace kvlink
