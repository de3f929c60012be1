#include "platform/Profile.h"

#include "platform/ProfileText.h"
#include "platform/SettingsDirectory.h"
#include "platform/WholeFile.h"

namespace kvlink {

std::string ReadIni(const std::string& section, const std::string& key, const std::string& file) {
  const FileContents contents = readWholeFile(resolveProfilePath(file));
  if (contents.status != ReadStatus::Ok) return {};
  return profileLookup(contents.bytes, section, key);
}

bool IniHasSection(const std::string& section, const std::string& file) {
  const FileContents contents = readWholeFile(resolveProfilePath(file));
  return contents.status == ReadStatus::Ok && profileHasSection(contents.bytes, section);
}

bool WriteIni(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file) {
  if (!isWritableProfileEntry(section, key, value)) return false;
  const std::string path = resolveProfilePath(file);
  const FileContents contents = readWholeFile(path);
  // A file that exists but cannot be read must not be replaced by one key.
  if (contents.status == ReadStatus::Failed) return false;
  return replaceWholeFile(path, profileWithValue(contents.bytes, section, key, value));
}

}  // namespace kvlink
