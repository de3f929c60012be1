#include "AutoRetrieveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

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

std::vector<std::string> lastRecordLines(const std::string& path, size_t most) {
  // What the file ends with: far more than the longest lines kept.
  constexpr off_t kTail = 16384;
  std::vector<std::string> lines;
  const int fd = openRegularFile(path, O_RDONLY).fd;
  if (fd < 0) return lines;
  struct stat info {};
  std::string tail;
  if (::fstat(fd, &info) == 0) {
    const off_t from = std::max<off_t>(0, info.st_size - kTail);
    tail.resize(size_t(info.st_size - from));
    const ssize_t n = ::pread(fd, tail.data(), tail.size(), from);
    tail.resize(n > 0 ? size_t(n) : 0);
  }
  ::close(fd);
  // A last line that lost its line end counts when it is whole: it ends in
  // CR, or holds as many fields as the line before it.
  const size_t cut = tail.rfind('\n');
  if (cut != std::string::npos && cut + 1 < tail.size()) {
    const size_t before = tail.rfind('\n', cut == 0 ? 0 : cut - 1);
    const auto fields = [&](size_t from, size_t to) {
      return std::count(tail.begin() + long(from), tail.begin() + long(to), ',');
    };
    if (tail.back() == '\r')
      tail += '\n';
    else if (before != std::string::npos && fields(cut, tail.size()) == fields(before, cut))
      tail += kLogLineEnd;
  }
  // Whole lines from the last one back; `end` is just past a line's '\n'.
  for (size_t end = tail.size(); end > 0 && tail[end - 1] == '\n' && lines.size() < most;) {
    const size_t newline = end >= 2 ? tail.rfind('\n', end - 2) : std::string::npos;
    if (newline == std::string::npos) break;  // perhaps part of a line
    std::string line = tail.substr(newline + 1, end - newline - 1);
    if (logTimeOrderOfLine(line).empty()) break;
    lines.push_back(std::move(line));
    end = newline + 1;
  }
  return lines;
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
  const RegularFileOpen opened = openRegularFile(path, O_RDWR | O_APPEND | O_CREAT);
  fd_ = opened.fd;
  path_ = path;
  notRegular_ = opened.notRegular;
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return false;
  start_ = size_ = info.st_size;
  char last = '\n';
  if (size_ > 0 && ::pread(fd_, &last, 1, size_ - 1) == 1 && last != '\n')
    lineEnd_ = last == '\r' ? "\n" : std::string(kLogLineEnd);
  startLineEnd_ = lineEnd_;
  return true;
}

long StationFile::sizeAfter(const std::string& text) const {
  return size_ + long(lineEnd_.size() + text.size());
}

bool StationFile::append(const std::string& given) {
  const std::string text = lineEnd_ + given;
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
  size_ += long(text.size());
  lineEnd_.clear();
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
  size_ = start_;
  lineEnd_ = startLineEnd_;
}

void StationFile::keep() {
  struct stat info {};
  if (fd_ >= 0 && ::fstat(fd_, &info) == 0) start_ = size_ = info.st_size;
  startLineEnd_ = lineEnd_;
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

std::string autoRetrieveRecordsLostText(int station, long count, bool overrun, CountBound bound) {
  const std::string prefix = "Station#" + std::to_string(station) + "  ";
  const std::string number = std::string(countBoundText(bound)) + std::to_string(count);
  if (overrun) return prefix + "Logs faster than it can be read - records lost: " + number;
  return prefix + "Records lost: " + number + " (overwritten before they could be read)";
}

}  // namespace kvlink
