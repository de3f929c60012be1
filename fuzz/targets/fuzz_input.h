// Splits one fuzz input into fields: every field but the last ends at a NUL
// byte; the last field takes the rest of the input, NULs included. A missing
// field is empty. Inputs stay readable in a text editor this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kvlink::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next NUL-terminated field.
  std::string_view field() {
    const auto end = rest_.find('\0');
    const std::string_view out = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return out;
  }

  // Everything not yet taken.
  std::string_view rest() {
    const std::string_view out = rest_;
    rest_ = {};
    return out;
  }

 private:
  std::string_view rest_;
};

}  // namespace kvlink::fuzz
