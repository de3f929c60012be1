// The profile functions that read and write the settings file gridmon.ini and
// the *.con configuration files.
#pragma once

#include <string>

namespace kvlink {

// The value of `key` in `section` of `file`, at most 255 characters, "" when
// the file, the section or the key is missing or the file cannot be read. A
// file name without '/' means the settings directory (settings_directory.h).
// The matching rules are those of profileLookup (profile_text.h).
std::string ReadIni(const std::string& section, const std::string& key, const std::string& file);

// True when `file` can be read and has the section `section`.
bool IniHasSection(const std::string& section, const std::string& file);

// Sets `key` of `section` in `file` to `value` (an empty value writes "key="),
// creating the file and the section when missing; see profileWithValue for
// where new lines go. The file is replaced atomically. False when the file
// exists but cannot be read, cannot be written, or when a name or the value
// holds a line break or another character that would not read back the same
// (isWritableProfileEntry); the file is then unchanged.
bool WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file);

}  // namespace kvlink
