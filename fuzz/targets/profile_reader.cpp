// Fuzz target of the profile-file reader and editor.
//
// Input: section NUL key NUL value NUL other-section NUL other-key NUL file-text.
// Properties:
//  - a lookup never returns more than kProfileValueMaxLength characters, and
//    names match without regard to ASCII case;
//  - after a write that isWritableProfileEntry allows, the key reads back as
//    the value (trimmed, one pair of quotes removed, cut), every other key reads
//    as before, and writing the same value again changes no byte.

#include <string>
#include <string_view>

#include "platform/ProfileText.h"
#include "targets/fuzz_check.h"
#include "targets/fuzz_input.h"
#include "targets/fuzz_targets.h"

namespace kvlink::fuzz {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string asciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool sameName(std::string_view a, std::string_view b) {
  return asciiUpper(trimmed(a)) == asciiUpper(trimmed(b));
}

// What a reader sees of a value written as `value`.
std::string readBack(std::string_view value) {
  value = trimmed(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kProfileValueMaxLength));
}

}  // namespace

int profileReader(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string_view section = input.field();
  const std::string_view key = input.field();
  const std::string_view value = input.field();
  const std::string_view otherSection = input.field();
  const std::string_view otherKey = input.field();
  const std::string_view text = input.rest();

  const std::string before = profileLookup(text, section, key);
  const std::string otherBefore = profileLookup(text, otherSection, otherKey);
  KVLINK_FUZZ_CHECK(before.size() <= kProfileValueMaxLength);
  KVLINK_FUZZ_CHECK(otherBefore.size() <= kProfileValueMaxLength);
  KVLINK_FUZZ_CHECK(profileLookup(text, asciiUpper(section), asciiUpper(key)) == before);

  if (!isWritableProfileEntry(section, key, value)) return 0;

  const std::string written = profileWithValue(text, section, key, value);
  KVLINK_FUZZ_CHECK(profileLookup(written, section, key) == readBack(value));
  if (!(sameName(section, otherSection) && sameName(key, otherKey))) {
    KVLINK_FUZZ_CHECK(profileLookup(written, otherSection, otherKey) == otherBefore);
  }
  KVLINK_FUZZ_CHECK(profileWithValue(written, section, key, value) == written);
  return 0;
}

}  // namespace kvlink::fuzz
