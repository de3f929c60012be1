// Starting another program for the operator: an editor for a file, a file
// manager for a folder. Programs are started without a shell and not waited
// for; the program goes on at once.
#pragma once

#include <sys/types.h>

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

// The command that opens `path` in the operator's editor: the words of
// $VISUAL, else of $EDITOR (split on blanks; a variable of blanks only counts
// as unset), else xdg-open; followed by `path` as one argument.
std::vector<std::string> editorCommand(const std::string& path);

// Opens `path` with editorCommand; false when the editor could not be started.
bool openInEditor(const std::string& path);

// Opens `path` in the desktop's file manager (xdg-open); false when that could
// not be started.
bool openFolder(const std::string& path);

}  // namespace kvlink
