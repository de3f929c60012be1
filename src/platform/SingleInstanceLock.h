// Keeps a second copy of the program from running: an exclusive lock on a file
// that the system drops when the holder ends, however it ends.
#pragma once

#include <string>

namespace kvlink {

class SingleInstanceLock {
 public:
  SingleInstanceLock() = default;
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock called `name` (a plain file name, no '/'). False when
  // another holder, in this or another process, has it, or when the lock file
  // cannot be opened. A lock already held by this object is released first.
  bool acquire(const std::string& name);
  void release();
  bool held() const { return fd_ >= 0; }

  // The lock file for `name`: in $XDG_RUNTIME_DIR (when set to an absolute
  // path), else in the settings directory.
  static std::string lockFilePath(const std::string& name);

 private:
  int fd_ = -1;
};

}  // namespace kvlink
