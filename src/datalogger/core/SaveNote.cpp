#include "SaveNote.h"

#include <sstream>

#include "AutoRetrieveFile.h"
#include "LogRecordLine.h"
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

SavePoint savePointOf(const SaveNote& note, long fileSize, std::optional<long>& cutBackTo) {
  if (!note.writing) return note.saved;
  if (fileSize >= note.writingSize) return *note.writing;
  if (fileSize > note.fileSize) cutBackTo = note.fileSize;
  return note.saved;
}

}  // namespace kvlink
