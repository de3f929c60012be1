#include "platform/Launcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace kvlink {
namespace {

std::vector<std::string> words(const char* text) {
  std::vector<std::string> result;
  if (text == nullptr) return result;
  std::string current;
  for (const char* p = text; *p; ++p) {
    if (*p == ' ' || *p == '\t') {
      if (!current.empty()) result.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(*p);
    }
  }
  if (!current.empty()) result.push_back(std::move(current));
  return result;
}

// Spawn attributes that give the child a clean signal state, whatever this
// process blocks or ignores.
class CleanSignalAttributes {
 public:
  CleanSignalAttributes() {
    ::posix_spawnattr_init(&attr_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attr_, &none);
    ::posix_spawnattr_setsigdefault(&attr_, &all);
    ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~CleanSignalAttributes() { ::posix_spawnattr_destroy(&attr_); }
  CleanSignalAttributes(const CleanSignalAttributes&) = delete;
  CleanSignalAttributes& operator=(const CleanSignalAttributes&) = delete;
  const posix_spawnattr_t* get() const { return &attr_; }

 private:
  posix_spawnattr_t attr_;
};

void reapInBackground(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

std::optional<pid_t> spawnDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  std::vector<char*> arguments;
  arguments.reserve(argv.size() + 1);
  for (const std::string& word : argv) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);

  const CleanSignalAttributes attributes;
  pid_t pid = 0;
  // glibc reports a failed exec (missing program, no permission) as the result.
  if (::posix_spawnp(&pid, arguments[0], nullptr, attributes.get(), arguments.data(), environ) !=
      0) {
    return std::nullopt;
  }
  reapInBackground(pid);
  return pid;
}

std::vector<std::string> editorCommand(const std::string& path) {
  std::vector<std::string> command = words(std::getenv("VISUAL"));
  if (command.empty()) command = words(std::getenv("EDITOR"));
  if (command.empty()) command = {"xdg-open"};
  command.push_back(path);
  return command;
}

bool openInEditor(const std::string& path) {
  return spawnDetached(editorCommand(path)).has_value();
}

bool openFolder(const std::string& path) {
  return spawnDetached({"xdg-open", path}).has_value();
}

}  // namespace kvlink
