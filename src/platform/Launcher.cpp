#include "platform/Launcher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>
#include <utility>

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

// How a child starts: with a clean signal state, whatever this process blocks
// or ignores, and with its output sent nowhere, since what the programs
// started for the operator say (xdg-open's complaints above all) is not this
// program's to show.
class ChildSetup {
 public:
  ChildSetup() {
    ::posix_spawnattr_init(&attr_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attr_, &none);
    ::posix_spawnattr_setsigdefault(&attr_, &all);
    ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    ::posix_spawn_file_actions_init(&actions_);
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO})
      ::posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", O_WRONLY, 0);
  }
  ~ChildSetup() {
    ::posix_spawn_file_actions_destroy(&actions_);
    ::posix_spawnattr_destroy(&attr_);
  }
  ChildSetup(const ChildSetup&) = delete;
  ChildSetup& operator=(const ChildSetup&) = delete;
  const posix_spawnattr_t* attributes() const { return &attr_; }
  const posix_spawn_file_actions_t* fileActions() const { return &actions_; }

 private:
  posix_spawnattr_t attr_;
  posix_spawn_file_actions_t actions_;
};

void reapInBackground(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

// Starts the child without reaping it.
std::optional<pid_t> spawnChild(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  std::vector<char*> arguments;
  arguments.reserve(argv.size() + 1);
  for (const std::string& word : argv) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);

  const ChildSetup setup;
  pid_t pid = 0;
  // glibc reports a failed exec (missing program, no permission) as the result.
  if (::posix_spawnp(&pid, arguments[0], setup.fileActions(), setup.attributes(), arguments.data(),
                     environ) != 0) {
    return std::nullopt;
  }
  return pid;
}

// True when the command started and did not end with a failure within
// `watch`; a command still running then is left to run and reaped later.
bool startsAndHolds(const std::vector<std::string>& argv, std::chrono::milliseconds watch) {
  const std::optional<pid_t> pid = spawnChild(argv);
  if (!pid) return false;
  const auto deadline = std::chrono::steady_clock::now() + watch;
  for (;;) {
    int status = 0;
    const pid_t ended = ::waitpid(*pid, &status, WNOHANG);
    if (ended == *pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ended < 0 && errno != EINTR) return true;  // cannot be watched, but it started
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  reapInBackground(*pid);
  return true;
}

std::vector<std::string> joined(std::vector<std::string> head,
                                const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Terminal emulators that take "-e program arguments...", first choice first.
const char* const kTerminals[] = {"x-terminal-emulator", "xterm"};

// Editors that draw in a terminal and have no window of their own.
const char* const kTerminalEditors[] = {"vi",    "vim",    "nvim",  "nvi", "elvis",    "view",
                                        "ex",    "nano",   "pico",  "joe", "jed",      "jove",
                                        "mg",    "zile",   "micro", "ne",  "kak",      "hx",
                                        "helix", "mcedit", "vis",   "ed",  "emacs-nox"};
// Switches that keep emacs (or emacsclient) in the terminal.
const char* const kEmacsTerminalSwitches[] = {"-nw", "--no-window-system", "-t", "-tty", "--tty"};

std::string baseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isTerminalEditor(const std::vector<std::string>& command) {
  const std::string program = baseName(command.front());
  for (const char* name : kTerminalEditors)
    if (program == name) return true;
  if (program != "emacs" && program != "emacsclient") return false;
  for (const std::string& word : command)
    for (const char* flag : kEmacsTerminalSwitches)
      if (word == flag) return true;
  return false;
}

// The editor's command for `path`: as it is, or for an editor of the
// terminal, inside each terminal emulator in turn.
void addEditor(std::vector<std::vector<std::string>>& commands,
               const std::vector<std::string>& editor, const std::string& path) {
  if (!isTerminalEditor(editor)) {
    commands.push_back(joined(editor, {path}));
    return;
  }
  for (const char* terminal : kTerminals)
    commands.push_back(joined({terminal, "-e"}, joined(editor, {path})));
}

}  // namespace

std::optional<pid_t> spawnDetached(const std::vector<std::string>& argv) {
  const std::optional<pid_t> pid = spawnChild(argv);
  if (pid) reapInBackground(*pid);
  return pid;
}

std::vector<std::vector<std::string>> editorCommands(const std::string& path) {
  std::vector<std::vector<std::string>> commands;
  const std::vector<std::string> visual = words(std::getenv("VISUAL"));
  if (!visual.empty()) addEditor(commands, visual, path);
  commands.push_back({"xdg-open", path});
  const std::vector<std::string> editor = words(std::getenv("EDITOR"));
  if (!editor.empty()) {
    for (const char* terminal : kTerminals)
      commands.push_back(joined({terminal, "-e"}, joined(editor, {path})));
  }
  return commands;
}

std::future<bool> openInEditor(const std::string& path, std::chrono::milliseconds watch) {
  std::promise<bool> started;
  std::future<bool> result = started.get_future();
  std::thread([commands = editorCommands(path), watch, started = std::move(started)]() mutable {
    for (const auto& command : commands) {
      if (startsAndHolds(command, watch)) {
        started.set_value(true);
        return;
      }
    }
    started.set_value(false);
  }).detach();
  return result;
}

bool openFolder(const std::string& path) {
  return spawnDetached({"xdg-open", path}).has_value();
}

}  // namespace kvlink
