#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvlink {

bool namesNonRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

RegularFileOpen openRegularFile(const std::string& path, int flags) {
  RegularFileOpen result;
  // Nothing but a regular file is opened at all (opening a device can have
  // effects of its own); O_NONBLOCK covers one put in its place meanwhile.
  if (namesNonRegularFile(path)) {
    result.notRegular = true;
    return result;
  }
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    // ENXIO: a FIFO without a reader; EISDIR: a directory.
    result.notRegular = errno == ENXIO || errno == EISDIR;
    result.error = result.notRegular ? 0 : errno;
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
    ::close(fd);
    result.notRegular = true;
    return result;
  }
  const int mode = ::fcntl(fd, F_GETFL);
  if (mode < 0 || ::fcntl(fd, F_SETFL, mode & ~O_NONBLOCK) != 0) {
    result.error = errno;
    ::close(fd);
    return result;
  }
  result.fd = fd;
  return result;
}

}  // namespace kvlink
