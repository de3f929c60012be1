// The per-user runtime directory, for files that live as long as the session:
// the stand-in lock file, and what Qt keeps there.
#pragma once

#include <string>

namespace kvlink {

// $XDG_RUNTIME_DIR when it is an absolute path, else <temporary directory>/runtime-<user>,
// the directory Qt falls back to, made private to the user (mode 0700) when missing. Empty
// when that directory cannot be used: it belongs to someone else or is not a directory.
std::string runtimeDirectory();

// When XDG_RUNTIME_DIR is not set, sets it to runtimeDirectory(), so that Qt finds it
// without a warning and every part of the program uses the same directory. Call before
// the QApplication is made.
void provideRuntimeDirectory();

}  // namespace kvlink
