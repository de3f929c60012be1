#include "platform/SingleInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/SettingsDirectory.h"

namespace kvlink {

SingleInstanceLock::~SingleInstanceLock() {
  release();
}

std::string SingleInstanceLock::lockFilePath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string directory = (runtime && runtime[0] == '/') ? runtime : settingsDirectory();
  return directory + "/" + name + ".lock";
}

bool SingleInstanceLock::acquire(const std::string& name) {
  release();
  if (name.empty() || name.find('/') != std::string::npos) return false;
  // Close-on-exec: a viewer started by the program must not keep the lock
  // after the program has ended.
  const int fd = ::open(lockFilePath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void SingleInstanceLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor drops the lock
  fd_ = -1;
}

}  // namespace kvlink
