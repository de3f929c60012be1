#include "platform/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/RuntimeDirectory.h"

namespace kvlink {
namespace {

std::atomic<bool> lockFileOnly{false};

std::string reasonFor(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

// FNV-1a: a stable short name for a path.
uint64_t pathKey(const std::string& path) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

}  // namespace

SingleInstanceLock::~SingleInstanceLock() {
  release();
}

std::string SingleInstanceLock::lockFilePath(const std::string& directory) {
  std::error_code error;
  const std::string real = std::filesystem::canonical(directory, error).string();
  std::string place = runtimeDirectory();
  if (place.empty()) place = "/tmp";
  char name[64];
  std::snprintf(name, sizeof name, "/kv-link27-%u-%016llx.lock", static_cast<unsigned>(::getuid()),
                static_cast<unsigned long long>(pathKey(error ? directory : real)));
  return place + name;
}

void SingleInstanceLock::useLockFileForTesting(bool on) {
  lockFileOnly = on;
}

SingleInstanceLock::Result SingleInstanceLock::acquire(const std::string& directory) {
  release();
  failure_.clear();
  if (lockFileOnly) return lockFile(directory);
  // Close-on-exec: a viewer started by the program must not keep the lock
  // after the program has ended.
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    failure_ = reasonFor(directory, errno);
    return Result::Failed;
  }
  const Result result = takeLock(fd, directory);
  if (result != Result::Failed) return result;
  return lockFile(directory);  // the file system cannot lock the directory
}

SingleInstanceLock::Result SingleInstanceLock::lockFile(const std::string& directory) {
  const std::string path = lockFilePath(directory);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    failure_ = reasonFor(path, errno);
    return Result::Failed;
  }
  return takeLock(fd, path);
}

SingleInstanceLock::Result SingleInstanceLock::takeLock(int fd, const std::string& path) {
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    fd_ = fd;
    failure_.clear();
    return Result::Acquired;
  }
  const int error = errno;
  ::close(fd);
  if (error == EWOULDBLOCK) return Result::HeldElsewhere;
  failure_ = reasonFor(path, error);
  return Result::Failed;
}

void SingleInstanceLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor drops the lock
  fd_ = -1;
}

}  // namespace kvlink
