#include "LogTextFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvlink {

std::string fileErrorDescription(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
      return "Permission denied";
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return "Path not found";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "Disk full";
    case EIO:
      return "Device I/O error";
    default:
      return "Path/File access error";
  }
}

LogTextFile::~LogTextFile() {
  close();
}

bool LogTextFile::fail(int error) {
  failed_ = true;
  if (error_.empty()) error_ = fileErrorDescription(error);
  return false;
}

bool LogTextFile::open(const std::string& path, Mode mode) {
  close();
  failed_ = false;
  error_.clear();
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return fail(EISDIR);
  errno = 0;
  file_ = std::fopen(path.c_str(), mode == Mode::Output ? "wb" : "ab");
  if (!file_) return fail(errno);
  return true;
}

bool LogTextFile::write(std::string_view text) {
  if (!file_) return fail(EBADF);
  if (failed_) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0)
    return fail(errno ? errno : EIO);
  return true;
}

bool LogTextFile::close() {
  if (!file_) return true;
  errno = 0;
  // The records are on the disk before anyone relies on them (the
  // auto-retrieve step clears them from the unit after this close).
  // Files that cannot be synced (devices, pipes) are not held against it.
  if (!failed_ && ::fsync(fileno(file_)) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
  errno = 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed) return fail(errno ? errno : EIO);
  return !failed_;
}

bool LogTextFile::exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace kvlink
