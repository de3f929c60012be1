// Keeps a second copy of the program from running on the same settings: an
// exclusive lock on the settings directory itself, which the system drops when
// the holder ends, however it ends. Every copy that uses the directory (under
// any name or link, for any user, whatever its environment) meets the same lock.
#pragma once

#include <string>

namespace kvlink {

class SingleInstanceLock {
 public:
  enum class Result { Acquired, HeldElsewhere, Failed };

  SingleInstanceLock() = default;
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock on `directory`, which must exist. HeldElsewhere only when
  // another holder, in this or another process, has it; Failed (see failure())
  // when the directory cannot be opened or locked. Where the file system cannot
  // lock a directory (some network file systems), a lock file in the per-user
  // runtime directory (runtimeDirectory(), else /tmp), named after the directory's
  // real path, stands in. A lock already held by this object is released first.
  Result acquire(const std::string& directory);
  void release();
  bool held() const { return fd_ >= 0; }

  // Why the last acquire failed: "<path>: <reason>".
  const std::string& failure() const { return failure_; }

  // The stand-in lock file for `directory` (which must exist).
  static std::string lockFilePath(const std::string& directory);

  // Test hook: true makes every later acquire use the stand-in lock file.
  static void useLockFileForTesting(bool on);

 private:
  Result lockFile(const std::string& directory);
  Result takeLock(int fd, const std::string& path);

  int fd_ = -1;
  std::string failure_;
};

}  // namespace kvlink
