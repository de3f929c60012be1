#include "SaveNote.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>

#include "AutoRetrieveFile.h"
#include "LogRecordLine.h"
#include "platform/RegularFile.h"
#include "platform/WholeFile.h"

namespace kvlink {

namespace {

// Each save point: "<name> <file length> <offset>...", the number of lines,
// then the lines without their line ends.
void put(std::ostringstream& out, const char* name, long size, const SavePoint& point) {
  out << name << ' ' << size;
  for (const long offset : point.offsets) out << ' ' << offset;
  out << '\n' << point.lines.size() << '\n';
  for (const std::string& line : point.lines)
    out << line.substr(0, line.size() - kLogLineEnd.size()) << '\n';
}

bool get(std::istringstream& in, const std::string& name, long& size, SavePoint& point) {
  std::string head;
  if (!std::getline(in, head)) return false;
  std::istringstream fields(head);
  std::string word;
  if (!(fields >> word) || word != name || !(fields >> size)) return false;
  point.offsets.clear();
  for (long offset = 0; fields >> offset;) point.offsets.push_back(offset);
  size_t count = 0;
  std::string line;
  if (point.offsets.empty() || !std::getline(in, line)) return false;
  std::istringstream(line) >> count;
  point.lines.clear();
  while (point.lines.size() < count && point.lines.size() < kSavePointLines &&
         std::getline(in, line))
    point.lines.push_back(line + std::string(kLogLineEnd));
  return point.lines.size() == count;
}

}  // namespace

std::string saveNotePath(const std::string& directory, int station) {
  return joinDirectory(directory, "station" + std::to_string(station) + ".note");
}

std::optional<SaveNote> readSaveNote(const std::string& path) {
  const FileContents contents = readWholeFile(path);
  if (contents.status != ReadStatus::Ok) return std::nullopt;
  std::istringstream in(contents.bytes);
  SaveNote note;
  if (!get(in, "saved", note.fileSize, note.saved)) return std::nullopt;
  SavePoint writing;
  if (get(in, "writing", note.writingSize, writing)) note.writing = writing;
  return note;
}

bool writeSaveNote(const std::string& path, const SaveNote& note) {
  std::ostringstream out;
  put(out, "saved", note.fileSize, note.saved);
  if (note.writing) put(out, "writing", note.writingSize, *note.writing);
  return replaceWholeFile(path, out.str());
}

ResumedSaves resumeSaves(const std::string& path, const std::string& notePath, long counted) {
  ResumedSaves resumed;
  const int fd = openRegularFile(path, O_RDWR).fd;
  struct stat info {};
  const long size = fd >= 0 && ::fstat(fd, &info) == 0 ? long(info.st_size) : 0;
  char last = '\n';
  const bool midLine = fd >= 0 && size > 0 && ::pread(fd, &last, 1, size - 1) == 1 && last != '\n';
  resumed.note.fileSize = size;
  if (const std::optional<SaveNote> note = readSaveNote(notePath)) {
    resumed.note.saved = note->saved;
    if (note->writing && size >= note->writingSize) {
      resumed.note.saved = *note->writing;
    } else if (note->writing && size > note->fileSize) {
      if (::ftruncate(fd, note->fileSize) == 0) ::fsync(fd);  // part of a write
      resumed.note.fileSize = note->fileSize;
    } else if (midLine && size < note->fileSize) {
      // The lines saved, newest first, that the cut reached: again, oldest first.
      long end = note->fileSize;
      for (auto line = note->saved.lines.begin(); line != note->saved.lines.end() && end > size;
           ++line) {
        resumed.resave.insert(0, *line);
        end -= long(line->size());
      }
    }
  } else {
    // Sought among the newest counted ones only, so that this costs a part
    // of one visit's reads; found nowhere, the file says records may be missing.
    constexpr long kSoughtAmongCounted = 40;
    SavePoint& point = resumed.note.saved;
    point.lines = lastRecordLines(path, kSavePointLines);
    if (!point.lines.empty())
      for (long offset = -std::min(counted, kSoughtAmongCounted); offset <= 1; ++offset)
        if (offset != 0) point.offsets.push_back(offset);
  }
  if (fd >= 0) ::close(fd);
  return resumed;
}

}  // namespace kvlink
