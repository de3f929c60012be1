#include "platform/SettingsDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kvlink {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string homeDirectory() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/";
}

std::string chooseSettingsDirectory() {
  if (std::string windir = environment("KVLINK_WINDIR"); !windir.empty()) return windir;
  if (std::string config = environment("XDG_CONFIG_HOME");
      !config.empty() && config.front() == '/') {
    return config + "/kv-link27";
  }
  return homeDirectory() + "/.config/kv-link27";
}

}  // namespace

std::string settingsDirectory() {
  std::string directory = chooseSettingsDirectory();
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  std::error_code ignored;  // a directory that cannot be made shows up as a failed read or write
  std::filesystem::create_directories(directory, ignored);
  return directory;
}

std::string resolveProfilePath(const std::string& file) {
  if (file.find('/') != std::string::npos) return file;
  return settingsDirectory() + "/" + file;
}

}  // namespace kvlink
