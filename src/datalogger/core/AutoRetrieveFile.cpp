#include "AutoRetrieveFile.h"

#include <sys/stat.h>

#include <cstdio>

namespace kvlink {

std::string joinDirectory(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::string autoRetrieveFilePath(const std::string& directory, int station) {
  return joinDirectory(directory, "station" + std::to_string(station) + ".txt");
}

bool probeDirectoryWritable(const std::string& directory) {
  if (directory.empty()) return false;
  std::FILE* probe = std::fopen(joinDirectory(directory, "test.log").c_str(), "ab");
  if (!probe) return false;
  return std::fclose(probe) == 0;
}

bool fileHasContent(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && info.st_size > 0;
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

}  // namespace kvlink
