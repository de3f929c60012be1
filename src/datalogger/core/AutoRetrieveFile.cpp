#include "AutoRetrieveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "LogTextFile.h"

namespace kvlink {

std::string joinDirectory(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string autoRetrieveFilePath(const std::string& directory, int station) {
  return joinDirectory(directory, "station" + std::to_string(station) + ".txt");
}

std::string directoryProblem(const std::string& directory) {
  if (directory.empty()) return fileErrorDescription(ENOENT);
  errno = 0;
  std::FILE* probe = std::fopen(joinDirectory(directory, "test.log").c_str(), "ab");
  if (probe && std::fclose(probe) == 0) return {};
  return fileErrorDescription(errno ? errno : EIO);
}

bool probeDirectoryWritable(const std::string& directory) {
  return directoryProblem(directory).empty();
}

StationFile::~StationFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool StationFile::open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
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
  // Files that cannot be synced (devices, pipes) are not held against it.
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
    cutBack();
    return false;
  }
  return true;
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

std::string autoRetrieveRecordsLostText(int station, long count, bool overrun) {
  const std::string lost = "records lost: " + std::to_string(count);
  return "Station#" + std::to_string(station) + "  " +
         (overrun ? "Logs faster than it can be read - " + lost
                  : "R" + lost.substr(1) + " (overwritten before they could be read)");
}

}  // namespace kvlink
