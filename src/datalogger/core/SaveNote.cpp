#include "SaveNote.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "AutoRetrieveFile.h"
#include "LogRecordLine.h"
#include "platform/RegularFile.h"
#include "platform/WholeFile.h"

namespace kvlink {

namespace {

// Each save point: "<name> <file length> <offset>... [area <lost at least>]", the number of lines,
// then the lines without their line ends.
void put(std::ostringstream& out, const char* name, long size, const SavePoint& point) {
  out << name << ' ' << size;
  for (const long offset : point.offsets) out << ' ' << offset;
  if (point.lostAtLeast) out << " area " << *point.lostAtLeast;
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
  fields.clear();
  point.lostAtLeast.reset();
  if (long lost = 0; fields >> word && word == "area" && fields >> lost) point.lostAtLeast = lost;
  size_t count = 0;
  std::string line;
  if (!std::getline(in, line)) return false;
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

namespace {

// The file ends as `point` says it does at length `end`, or is cut short in
// its lines: then `completion` is what it lacks of them.
bool endsAsNoted(int fd, long size, long end, const SavePoint& point, std::string& completion) {
  // Below the place one below the counted records only lines tell the place.
  if (point.lines.empty() && std::ranges::any_of(point.offsets, [](long o) { return o > 1; }))
    return false;
  std::string expected;
  for (auto line = point.lines.rbegin(); line != point.lines.rend(); ++line) expected += *line;
  const long start = end - long(expected.size());
  if (size == 0 && end >= 0)
    expected.clear();  // a new file: nothing to check it by
  else if (start < 0 || size < start || size > end)
    return false;
  const long have = std::max(0L, size - start);
  std::string found(size_t(have), '\0');
  if (have > 0 && ::pread(fd, found.data(), found.size(), start) != have) return false;
  if (expected.compare(0, size_t(have), found) != 0) return false;
  completion = expected.substr(size_t(have));
  return true;
}

}  // namespace

ResumedSaves resumeSaves(const std::string& path, const std::string& notePath) {
  ResumedSaves resumed;
  const int fd = openRegularFile(path, O_RDWR).fd;
  struct stat info {};
  long size = fd >= 0 && ::fstat(fd, &info) == 0 ? long(info.st_size) : 0;
  // Error lines written after a failed read stand after what the note says.
  const std::string error = logReadErrorLine();
  std::string last(error.size(), '\0');
  const long end = size;
  while (size >= long(error.size()) &&
         ::pread(fd, last.data(), last.size(), size - long(error.size())) == long(last.size()) &&
         last == error)
    size -= long(error.size());
  const std::optional<SaveNote> note = readSaveNote(notePath);
  std::string completion;
  if (note && note->writing &&
      endsAsNoted(fd, size, note->writingSize, *note->writing, completion)) {
    resumed.note = SaveNote{*note->writing, note->writingSize, std::nullopt, 0};
    resumed.noted = true;
  } else if (note) {
    if (note->writing && size > note->fileSize && size < note->writingSize &&
        endsAsNoted(fd, note->fileSize, note->fileSize, note->saved, completion) &&
        ::ftruncate(fd, note->fileSize) == 0) {  // part of a write
      ::fsync(fd);
      size = note->fileSize;
    }
    resumed.noted = endsAsNoted(fd, size, note->fileSize, note->saved, completion);
    resumed.note = SaveNote{note->saved, note->fileSize, std::nullopt, 0};
  }
  if (resumed.noted && size < end && !completion.empty()) resumed.noted = false;
  if (resumed.noted) {
    resumed.completion = completion;
  } else {
    resumed.note = SaveNote{SavePoint{{}, lastRecordLines(path, kSavePointLines), std::nullopt},
                            size, std::nullopt, 0};
  }
  if (fd >= 0) ::close(fd);
  return resumed;
}

}  // namespace kvlink
