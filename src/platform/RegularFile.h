// Files the program reads and writes are regular files. A FIFO, a device or a
// directory is refused before anything could wait on it: the open never
// blocks, so a pipe without a reader cannot hang the window thread.
#pragma once

#include <string>

namespace kvlink {

struct RegularFileOpen {
  int fd = -1;              // open, blocking mode, close-on-exec; -1 on failure
  bool notRegular = false;  // refused: the path names no regular file
  int error = 0;            // errno of any other failure
};

// Opens `path` with `flags` (O_RDONLY, O_WRONLY | O_CREAT | O_APPEND, ...),
// creating a missing file with mode 0666 (less the umask) where O_CREAT asks
// for it. A symbolic link is followed; what it finally names must be a
// regular file too.
RegularFileOpen openRegularFile(const std::string& path, int flags);

// True when `path` exists and is not a regular file.
bool namesNonRegularFile(const std::string& path);

}  // namespace kvlink
