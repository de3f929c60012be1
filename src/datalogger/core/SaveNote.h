#pragma once
// Where auto retrieve's saves of one station stand, kept in a small note
// beside its station file (<directory>/station<N>.note), replaced whole and
// synced before and after each step of a save: so after a start, a crash
// included, the next save goes on where the last one left off, told by the
// unit's record counter and not by what records read like.

#include <optional>
#include <string>
#include <vector>

namespace kvlink {

// Where the newest record saved sits in the unit, as a record number relative
// to the unit's record counter: record `counter + offset` (record 0 is the
// newest). It keeps its offset as the unit logs, until the counter is reset.
struct SavePoint {
  // One offset: known. More: it sits at one of them, not yet known which (a
  // counter reset written but not answered, a record that may have been
  // logged while the counter was reset). None: not known at all; it is
  // sought by the lines.
  std::vector<long> offsets{0};
  // The newest record lines saved, newest first, as the unit holds them in a
  // row: compared with the unit's records only to tell those offsets apart
  // and to notice a counter changed from outside.
  std::vector<std::string> lines;
  // Not known after a full counter was reset: the lines are sought among all
  // the records the unit holds, and where they are not found at least this
  // many records are lost.
  std::optional<long> lostAtLeast;
  bool operator==(const SavePoint&) const = default;
};

// How many lines a save point keeps.
inline constexpr size_t kSavePointLines = 8;

struct SaveNote {
  SavePoint saved;    // what the station file holds,
  long fileSize = 0;  // at this length;
  // a write begun: what it will hold once it is this long.
  std::optional<SavePoint> writing;
  long writingSize = 0;
};

// <directory>/station<N>.note
std::string saveNotePath(const std::string& directory, int station);

// Nothing when the note is missing or unreadable.
std::optional<SaveNote> readSaveNote(const std::string& path);
// Replaces the note whole and syncs it; false when it could not.
bool writeSaveNote(const std::string& path, const SaveNote& note);

// Where saves to the station file at `path` go on. The note is trusted only
// where the file ends as it says (its length and its last lines): a write
// the note began counts when the file reached its length, and part of one is
// cut off; a file cut short since (a power loss) is completed with what it
// lacks of the lines noted (`completion`). Without a note that fits (a file
// from an older version, the note lost, put back from an older copy or from
// another station) the place is not known, and the file's last record lines
// are sought among the unit's records.
struct ResumedSaves {
  SaveNote note;  // as it stands, no write begun
  std::string completion;
  bool noted = false;  // the note fits the file
};
ResumedSaves resumeSaves(const std::string& path, const std::string& notePath);

}  // namespace kvlink
