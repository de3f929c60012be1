#pragma once
// A station file held, record by record, against the journal of what its unit
// logged, in order: a record line is the next one logged, or follows ones
// left out (told when a "Records lost: [at most | at least] N" line or a "Record counter changed"
// line stands before it), or repeats the one before it (doubled, unless a
// "Records doubtful: N" line told so). Alike records are told apart by their
// place in the run: a run saved once too often shows at its end.

#include <algorithm>
#include <string>
#include <vector>

namespace kvlink {

struct JournalFigures {
  long logged = 0, saved = 0, doubled = 0, doubtful = 0, lostUntold = 0, told = 0, disorder = 0,
       broken = 0, pending = 0;
  bool sound() const { return doubled == 0 && lostUntold == 0 && disorder == 0 && broken == 0; }
};

// `journal`: the record lines in the order logged; `lines`: the file's lines,
// line ends included. Records logged after the last one saved are pending.
inline JournalFigures checkAgainstJournal(const std::vector<std::string>& journal,
                                          const std::vector<std::string>& lines,
                                          const std::string& header) {
  const auto count = [](const std::string& line, std::string prefix) {
    for (const char* bound : {"at most ", "at least ", ""})
      if (line.rfind(prefix + bound, 0) == 0)
        return std::stol(line.substr(prefix.size() + std::string(bound).size()));
    return -1L;
  };
  JournalFigures f;
  f.logged = long(journal.size());
  size_t next = 0;                  // the journal's next record
  long mayLose = 0, mayRepeat = 0;  // as the file told
  bool headerSeen = false, anyLost = false;
  for (const std::string& line : lines) {
    if (line == header) {
      f.broken += headerSeen;
      headerSeen = true;
      continue;
    }
    if (const long lost = count(line, "\"Records lost: "); lost >= 0) {
      mayLose += line.find("at least") != std::string::npos ? 1L << 40 : lost;
      f.told += lost;
      continue;
    }
    if (const long doubtful = count(line, "\"Records doubtful: "); doubtful >= 0) {
      mayRepeat += doubtful;
      continue;
    }
    if (line.rfind("\"Record counter changed", 0) == 0) {
      anyLost = true;
      continue;
    }
    if (line.rfind("\"Could not read info", 0) == 0) continue;
    if (next < journal.size() && line == journal[next]) {
      ++next;
      ++f.saved;
    } else if (next > 0 && line == journal[next - 1]) {
      ++(mayRepeat > 0 ? f.doubtful : f.doubled);
      mayRepeat -= mayRepeat > 0;
    } else {
      const auto found = std::find(journal.begin() + long(next), journal.end(), line);
      if (found == journal.end()) {
        ++(std::find(journal.begin(), journal.end(), line) != found ? f.disorder : f.broken);
        continue;
      }
      const long skipped = long(found - journal.begin()) - long(next);
      if (!anyLost) f.lostUntold += std::max(0L, skipped - mayLose);
      mayLose = std::max(0L, mayLose - skipped);
      next += size_t(skipped) + 1;
      ++f.saved;
    }
    anyLost = false;
  }
  f.pending = long(journal.size() - next);
  return f;
}

}  // namespace kvlink
