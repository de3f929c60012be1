#include "platform/RuntimeDirectory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/TempPath.h"

namespace kvlink {
namespace {

std::string userName(uid_t uid) {
  if (const passwd* entry = ::getpwuid(uid); entry && entry->pw_name) return entry->pw_name;
  return std::to_string(uid);
}

// A directory of the user's own with mode 0700 (a directory of theirs with other modes
// is made private).
bool isPrivateDirectory(const std::string& path, uid_t uid) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) {
    return false;
  }
  return (info.st_mode & 0777) == 0700 || ::chmod(path.c_str(), 0700) == 0;
}

}  // namespace

std::string runtimeDirectory() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && set[0] == '/') return set;
  const uid_t uid = ::geteuid();
  const std::string path = tempPath() + "runtime-" + userName(uid);
  ::mkdir(path.c_str(), 0700);  // an existing one is checked below
  return isPrivateDirectory(path, uid) ? path : std::string();
}

void provideRuntimeDirectory() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && set[0] == '/') return;
  if (const std::string path = runtimeDirectory(); !path.empty()) {
    ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
  }
}

}  // namespace kvlink
