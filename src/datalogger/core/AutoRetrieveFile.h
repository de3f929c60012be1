#pragma once
// Where auto retrieve writes: the per-station record file
// <directory>/station<N>.txt and the probe file test.log that tells whether a
// directory takes new files; and the status texts of the auto-retrieve step.

#include <cstdint>
#include <string>

namespace kvlink {

// The main window's status after a record could not be read.
inline const std::string kAutoRetrieveReadFailedText = "Could not read data from unit.";

// "<directory>/<name>", without doubling a '/' that ends the directory.
std::string joinDirectory(const std::string& directory, const std::string& name);

// <directory>/station<N>.txt
std::string autoRetrieveFilePath(const std::string& directory, int station);

// Opens test.log in `directory` for appending and closes it again; the file
// stays. False when it cannot be opened or closed (or the directory is empty).
bool probeDirectoryWritable(const std::string& directory);

// True when the file exists and holds at least one byte: a file that is
// missing or was left empty gets the header line first.
bool fileHasContent(const std::string& path);

// Status lines of one list position.
std::string autoRetrieveCountText(int station, long count);
std::string autoRetrieveNoResponseText(int station);
std::string autoRetrieveCannotOpenText(int station);
std::string autoRetrieveCannotWriteText(int station);

}  // namespace kvlink
