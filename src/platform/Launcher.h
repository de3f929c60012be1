// Starting another program for the operator: an editor for a file, a file
// manager for a folder. Programs are started without a shell, with their
// output sent nowhere, and not waited for; the program goes on at once.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace kvlink {

// Starts argv[0] (looked up in $PATH when it has no '/') with the arguments
// argv, with the signal mask and dispositions reset to the defaults. The child
// is reaped in the background when it ends, so it never stays a zombie. The
// child's process id, or std::nullopt when it could not be started (empty
// argv, program missing or not executable).
std::optional<pid_t> spawnDetached(const std::vector<std::string>& argv);

// The commands that may open `path` for editing, in the order they are
// tried: the words of $VISUAL (split on blanks; a variable of blanks only
// counts as unset), inside a terminal emulator as below when it names an
// editor of the terminal (vi, vim, nvim, nano, emacs -nw, ...); xdg-open, the desktop's editor for
// the file; and, when $EDITOR is set, that editor inside a terminal emulator (the system's
// x-terminal-emulator, else xterm), since an editor of the terminal started
// without one would have nowhere to show. Each ends with `path` as one
// argument.
std::vector<std::vector<std::string>> editorCommands(const std::string& path);

// How long a started command is watched: one that ends with a failure within
// this time could not open the file (xdg-open without a handler ends so).
inline constexpr std::chrono::milliseconds kEditorStartWatch{2000};

// Tries editorCommands(path) in turn, in the background, until one starts and
// does not fail within `watch`. The result: true when one did, false when
// none could be started.
std::future<bool> openInEditor(const std::string& path,
                               std::chrono::milliseconds watch = kEditorStartWatch);

// Opens `path` in the desktop's file manager (xdg-open); false when that could
// not be started.
bool openFolder(const std::string& path);

}  // namespace kvlink
