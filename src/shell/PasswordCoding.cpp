#include "PasswordCoding.h"

#include <array>

namespace kvlink {

namespace {

// Each byte is XORed with this key, cycled, and with a byte that changes
// with its position, so that repeated characters do not repeat in the file.
constexpr std::string_view kCodingKey = "KV27gridmon";

unsigned char codeByte(unsigned char c, std::size_t index) {
  const auto keyByte = static_cast<unsigned char>(kCodingKey[index % kCodingKey.size()]);
  const auto positionByte = static_cast<unsigned char>(index * 0x9D + 0x3B);
  return static_cast<unsigned char>(c ^ keyByte ^ positionByte);
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string encodePassword(std::string_view password) {
  static constexpr std::array<char, 16> digits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string out;
  out.reserve(password.size() * 2);
  for (std::size_t i = 0; i < password.size(); ++i) {
    const unsigned char coded = codeByte(static_cast<unsigned char>(password[i]), i);
    out += digits[coded >> 4];
    out += digits[coded & 0x0F];
  }
  return out;
}

std::optional<std::string> decodePassword(std::string_view stored) {
  if (stored.empty() || stored.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(stored.size() / 2);
  for (std::size_t i = 0; i < stored.size(); i += 2) {
    const int high = hexValue(stored[i]);
    const int low = hexValue(stored[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(codeByte(static_cast<unsigned char>(high * 16 + low), i / 2));
  }
  return out;
}

std::string passwordKey(int level) {
  switch (level) {
    case 1:
      return kGeneralPasswordKey;
    case 2:
      return kMasterPasswordKey;
    default:
      return {};
  }
}

}  // namespace kvlink
