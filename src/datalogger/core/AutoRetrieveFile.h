#pragma once
// Where auto retrieve writes: the per-station record file
// <directory>/station<N>.txt and the probe file test.log that tells whether a
// directory takes new files; and the status texts of the auto-retrieve step.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LogRecordLine.h"

namespace kvlink {

// The main window's status after a record could not be read.
inline const std::string kAutoRetrieveReadFailedText = "Could not read data from unit.";

// "<directory>/<name>", without doubling a '/' that ends the directory.
std::string joinDirectory(const std::string& directory, const std::string& name);

// <directory>/station<N>.txt
std::string autoRetrieveFilePath(const std::string& directory, int station);

// The record lines that end a station file (line ends included), newest
// first, at most `most`: none when it ends with another line or cannot be read.
// A last line that lost only its LF counts whole; one cut elsewhere does not.
std::vector<std::string> lastRecordLines(const std::string& path, size_t most);

// Opens test.log in `directory` for appending and closes it again; the file
// stays. Empty when it could, else why not ("Path not found", ...).
std::string directoryProblem(const std::string& directory);
// directoryProblem() found none.
bool probeDirectoryWritable(const std::string& directory);

// A station file appended to by one save. Whatever an append adds is synced
// to the disk whole, or the file is cut back to the length it had when it was
// opened: it never holds part of a line or of the header line. A file that
// does not end with a line end (cut short by a power loss) gets one first,
// or what its last line lacks (completeLastLine).
class StationFile {
 public:
  StationFile() = default;
  ~StationFile();
  StationFile(const StationFile&) = delete;
  StationFile& operator=(const StationFile&) = delete;

  // Opens the file for appending, creating it when missing; false when it
  // cannot be opened or is not a regular file (notRegular()).
  bool open(const std::string& path);
  bool notRegular() const { return notRegular_; }
  // What the next append puts first to end the file's last line.
  void completeLastLine(const std::string& text) { lineEnd_ = startLineEnd_ = text; }
  // Missing or empty when opened: it gets the header line first.
  bool isNew() const { return start_ == 0; }
  // Writes and syncs `text`; on any failure cuts the file back and is false.
  bool append(const std::string& text);
  // The path still names this file: not deleted, moved or replaced since.
  bool stillNamed() const;
  // Its length now, and once `text` is appended.
  long size() const { return size_; }
  long sizeAfter(const std::string& text) const;
  // Back to the length the file had when it was opened, or at keep().
  void cutBack();
  // What is written so far stays: a later failure cuts back to here.
  void keep();

 private:
  int fd_ = -1;
  std::string path_;
  long start_ = 0;
  long size_ = 0;
  std::string lineEnd_;       // the file's last line lacks it
  std::string startLineEnd_;  // as it was at start_
  bool notRegular_ = false;
};

// Status lines of one list position.
std::string autoRetrieveCountText(int station, long count);
std::string autoRetrieveNoResponseText(int station);
std::string autoRetrieveCannotOpenText(int station);
std::string autoRetrieveCannotWriteText(int station);
std::string autoRetrieveNotRegularText(int station);
std::string autoRetrieveFileGoneText(int station);
// Saved to another place than the directory chosen.
std::string autoRetrieveSavedToText(int station, const std::string& path);
// Records were lost: overwritten in the unit before they could be read, or
// (`overrun`) the unit logs faster than its records can be read; `bound`
// when the count is only a bound of the truth.
std::string autoRetrieveRecordsLostText(int station, long count, bool overrun,
                                        CountBound bound = CountBound::Exact);

}  // namespace kvlink
