#pragma once
// A record text file being written: opened new (emptied) or for appending,
// written line by line, closed on every path. Every write is pushed to the
// file at once, so a failure (disk full, device gone) is seen at the line it
// hits and not only at close; after a failure the file takes no more lines.
// The description of the failure is the operator's wording ("Permission
// denied", "Disk full", ...).

#include <cstdio>
#include <string>
#include <string_view>

namespace kvlink {

class LogTextFile {
 public:
  enum class Mode { Output, Append };

  LogTextFile() = default;
  ~LogTextFile();
  LogTextFile(const LogTextFile&) = delete;
  LogTextFile& operator=(const LogTextFile&) = delete;

  // False (with errorDescription) when the file cannot be created or opened;
  // anything but a regular file is refused with a description naming it.
  bool open(const std::string& path, Mode mode);
  bool isOpen() const { return file_ != nullptr; }
  // False once any write failed.
  bool write(std::string_view text);
  // False when the last data could not be written out. Closing a file that
  // is not open does nothing and succeeds.
  bool close();

  const std::string& errorDescription() const { return error_; }

  static bool exists(const std::string& path);

 private:
  bool fail(int error);

  std::FILE* file_ = nullptr;
  bool failed_ = false;
  std::string error_;
};

// The operator's wording for a file error number (errno).
std::string fileErrorDescription(int error);

}  // namespace kvlink
