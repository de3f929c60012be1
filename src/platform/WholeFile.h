// Reading a whole file and replacing it atomically, so that a crash or a failed
// write never leaves a file half written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvlink {

enum class ReadStatus { Ok, Missing, Failed };

struct FileContents {
  ReadStatus status = ReadStatus::Failed;
  std::string bytes;
};

// The bytes of the file; Missing when it does not exist, Failed when it exists
// but cannot be read (not a regular file, no permission, an I/O error); a FIFO
// or a device is refused without waiting on it.
FileContents readWholeFile(const std::string& path);

// Replaces the file at `path` with `contents`: writes a temporary file in the
// same directory, flushes it to disk and renames it over the old file. On any
// failure the old file is left as it was, the temporary file is removed and the
// result is false. An existing file that the process may not write, or anything
// but a regular file, is refused (false, left as it was). An existing file keeps its permission
// bits, owner and group; where a replacement could not have its owner and group (the file belongs
// to someone else but we may write it), the file itself is rewritten instead. A
// symbolic link is followed, so the file it names is replaced.
bool replaceWholeFile(const std::string& path, std::string_view contents);

// The steps of replaceWholeFile, in order.
enum class ReplaceStep { CreateTemporary, WriteData, SyncData, Rename };

// Test hook: the named step of every later replaceWholeFile fails as if its
// system call had failed; std::nullopt restores normal operation.
void failReplaceStepForTesting(std::optional<ReplaceStep> step);

}  // namespace kvlink
