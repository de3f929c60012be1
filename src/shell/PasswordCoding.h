#pragma once
// How the two passwords are kept in [misc] of gridmon.ini: "kesf" holds the
// general password, "gene" the master password. A password is stored
// XOR-coded and written as hexadecimal digits, so that the file stays plain
// text whatever the password holds. The coding keeps a password from being
// read at a glance; it is not encryption.

#include <optional>
#include <string>
#include <string_view>

namespace kvlink {

inline const std::string kGeneralPasswordKey = "kesf";
inline const std::string kMasterPasswordKey = "gene";

// The stored value that means "no password": access is granted without a
// prompt. It is not a hexadecimal coding, so no password codes to it.
inline const std::string kNoPassword = "-";

// The stored form of a password: two upper-case hex digits per byte. An empty
// password has no stored form (it would read back as a missing key): "".
std::string encodePassword(std::string_view password);

// The password a stored value holds; nullopt when the value is not a coding
// (empty, odd length, a character other than a hex digit). kNoPassword is
// not a coding either: callers test for it first.
std::optional<std::string> decodePassword(std::string_view stored);

// The [misc] key of a password level: 1 general, 2 master; "" otherwise.
std::string passwordKey(int level);

}  // namespace kvlink
