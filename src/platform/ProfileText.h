// Lookup and edit of one key in the text of an INI-style profile file, with the
// rules of the Windows profile functions that the settings file and the *.con
// files were written for. No file access here: see profile.h for that.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvlink {

// Longest value the profile reader returns; longer values are cut.
inline constexpr std::size_t kProfileValueMaxLength = 255;

// The value of `key` in the first section named `section` of `text`, or "" when
// the section or the key is missing. Section and key names match without regard
// to ASCII case and outer blanks. The value is the text after the first "=",
// outer blanks trimmed, one pair of surrounding double (or single) quotes
// removed, and cut to kProfileValueMaxLength characters.
std::string profileLookup(std::string_view text, std::string_view section, std::string_view key);

// False when profileLookup would cut the value of `key`: the value is longer
// than kProfileValueMaxLength. True for a missing key.
bool profileValueIsWhole(std::string_view text, std::string_view section, std::string_view key);

// True when `text` has a section named `section` (matched as profileLookup does).
bool profileHasSection(std::string_view text, std::string_view section);

// `text` with `key` of `section` set to `value`. An existing key line is
// rewritten in place as key=value (the key keeps its spelling in the file); a
// missing key goes after the last key line of its section; a missing section
// goes at the end of the text, after a blank line. Lines written here end with
// CR LF; every other line stays byte for byte.
std::string profileWithValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// True when section, key and value can be written so that profileLookup reads
// them back: non-empty names, no line breaks or NULs, no "]" in the section
// name and no "=" in the key name.
bool isWritableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

}  // namespace kvlink
