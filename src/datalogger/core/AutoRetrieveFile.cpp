#include "AutoRetrieveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "LogRecordLine.h"
#include "LogTextFile.h"
#include "platform/RegularFile.h"

namespace kvlink {

std::string joinDirectory(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string autoRetrieveFilePath(const std::string& directory, int station) {
  return joinDirectory(directory, "station" + std::to_string(station) + ".txt");
}

std::optional<std::string> lastRecordLine(const std::string& path, long* alike,
                                          std::string* before) {
  // What the file ends with: far more than the longest line, and more lines
  // than a run of alike records is ever counted for.
  constexpr off_t kTail = 65536;
  const int fd = openRegularFile(path, O_RDONLY).fd;
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::string tail;
  off_t from = 0;
  if (::fstat(fd, &info) == 0) {
    from = std::max<off_t>(0, info.st_size - kTail);
    tail.resize(size_t(info.st_size - from));
    const ssize_t n = ::pread(fd, tail.data(), tail.size(), from);
    tail.resize(n > 0 ? size_t(n) : 0);
  }
  ::close(fd);
  // Lines from the last one back; `end` is just past a line's '\n'.
  std::optional<std::string> last;
  long run = 0;
  for (size_t end = tail.size(); end > 0;) {
    const size_t newline = end >= 2 ? tail.rfind('\n', end - 2) : std::string::npos;
    const size_t begin = newline == std::string::npos ? 0 : newline + 1;
    std::string line = tail.substr(begin, end - begin);
    end = begin;
    if (!last && logTimeOrderOfLine(line).empty()) continue;
    if (last && line != *last) {
      if (before) *before = line;
      break;
    }
    last = std::move(line);
    ++run;
    // The run may go on before what was read: too long to count.
    if (end == 0 && from > 0) run = std::numeric_limits<long>::max();
  }
  if (alike) *alike = run;
  return last;
}

std::string directoryProblem(const std::string& directory) {
  if (directory.empty()) return fileErrorDescription(ENOENT);
  const RegularFileOpen probe =
      openRegularFile(joinDirectory(directory, "test.log"), O_WRONLY | O_APPEND | O_CREAT);
  if (probe.notRegular) return "test.log is not a regular file";
  if (probe.fd >= 0 && ::close(probe.fd) == 0) return {};
  return fileErrorDescription(probe.error ? probe.error : errno ? errno : EIO);
}

bool probeDirectoryWritable(const std::string& directory) {
  return directoryProblem(directory).empty();
}

StationFile::~StationFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool StationFile::open(const std::string& path) {
  const RegularFileOpen opened = openRegularFile(path, O_WRONLY | O_APPEND | O_CREAT);
  fd_ = opened.fd;
  path_ = path;
  notRegular_ = opened.notRegular;
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return false;
  start_ = info.st_size;
  return true;
}

bool StationFile::append(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      cutBack();
      return false;
    }
    done += size_t(n);
  }
  // The records are on the disk before the unit is told to clear them.
  // A file system that cannot sync files is not held against it.
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
    cutBack();
    return false;
  }
  return true;
}

bool StationFile::stillNamed() const {
  struct stat opened {
  }, named{};
  return fd_ >= 0 && ::fstat(fd_, &opened) == 0 && ::stat(path_.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

void StationFile::cutBack() {
  if (fd_ < 0) return;
  if (::ftruncate(fd_, start_) == 0) ::fsync(fd_);
}

void StationFile::keep() {
  struct stat info {};
  if (fd_ >= 0 && ::fstat(fd_, &info) == 0) start_ = info.st_size;
}

std::string autoRetrieveCountText(int station, long count) {
  return "Station#" + std::to_string(station) + "  Count= " + std::to_string(count);
}

std::string autoRetrieveNoResponseText(int station) {
  return "Station#" + std::to_string(station) + "  No response (or datalogging not present)";
}

std::string autoRetrieveCannotOpenText(int station) {
  return "Cannot open station" + std::to_string(station) +
         ".txt (File may be open by another application)";
}

std::string autoRetrieveCannotWriteText(int station) {
  return "Cannot write station" + std::to_string(station) +
         ".txt (disk full?) - records kept in the unit";
}

std::string autoRetrieveNotRegularText(int station) {
  return "Cannot write station" + std::to_string(station) +
         ".txt (not a regular file) - records kept in the unit";
}

std::string autoRetrieveFileGoneText(int station) {
  return "station" + std::to_string(station) +
         ".txt was moved or deleted while saving - records kept in the unit";
}

std::string autoRetrieveSavedToText(int station, const std::string& path) {
  return "Station#" + std::to_string(station) + "  Records saved to " + path;
}

std::string autoRetrieveRecordsLostText(int station, long count, bool overrun) {
  const std::string prefix = "Station#" + std::to_string(station) + "  ";
  const std::string number = std::to_string(count);
  if (overrun) return prefix + "Logs faster than it can be read - records lost: " + number;
  return prefix + "Records lost: " + number + " (overwritten before they could be read)";
}

}  // namespace kvlink
