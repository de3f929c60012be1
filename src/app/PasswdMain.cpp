// kvlink27-passwd: sets or clears the general or the master password of
// KV-LINK27 in gridmon.ini (in $KVLINK_WINDIR, else ~/.config/kv-link27).
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "SettingsFile.h"
#include "platform/SettingsDirectory.h"

namespace {

int usage() {
  std::cerr << "usage: kvlink27-passwd general|master          set the password (asked twice)\n"
               "       kvlink27-passwd --clear general|master  no password: no prompt at all\n";
  return 2;
}

int levelOf(const std::string& word) {
  if (word == "general") return 1;
  if (word == "master") return 2;
  return 0;
}

// One line from standard input, not echoed when it is a terminal.
bool readSecret(const char* prompt, std::string& out) {
  const bool terminal = ::isatty(STDIN_FILENO);
  termios saved{};
  if (terminal) {
    std::fputs(prompt, stderr);
    ::tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  const bool ok = static_cast<bool>(std::getline(std::cin, out));
  if (terminal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const bool clear = argc == 3 && std::string(argv[1]) == "--clear";
  if (argc != 2 && !clear) return usage();
  const int level = levelOf(argv[argc - 1]);
  if (level == 0) return usage();

  std::string password;
  if (!clear) {
    std::string again;
    if (!readSecret("New password: ", password)) return 1;
    if (password.empty()) {
      std::cerr << "An empty password is not set; use --clear for no password.\n";
      return 1;
    }
    if (::isatty(STDIN_FILENO) && (!readSecret("Repeat it: ", again) || again != password)) {
      std::cerr << "The two entries differ; nothing was changed.\n";
      return 1;
    }
  }
  const bool created = !kvlink::settingsFileExists();
  if (!kvlink::writePassword(level, password)) {
    std::cerr << "Could not write " << kvlink::settingsFilePath() << "\n";
    return 1;
  }
  std::cerr << argv[argc - 1] << " password " << (clear ? "cleared" : "set") << " in "
            << kvlink::settingsFilePath() << "\n";
  if (created) {
    // A new file holds both levels, so that the program does not take the
    // other one for a destroyed password; it starts with no password.
    const int other = 3 - level;
    if (!kvlink::writePassword(other, {})) {
      std::cerr << "Could not write " << kvlink::settingsFilePath() << "\n";
      return 1;
    }
    std::cerr << "The file is new: the " << (other == 1 ? "general" : "master")
              << " password is not set (no password); the program adds its other settings "
                 "at its next start.\n";
  }
  return 0;
}
