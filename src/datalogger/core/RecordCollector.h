#pragma once
// Collects, from a unit that may go on logging while it is read, every record
// it logged since the last save, each exactly once, oldest first; records the
// unit overwrote before they could be read are counted, on a line of their
// own where they were lost.
//
// Record 0 is the newest, and each record logged moves every other one up by
// exactly one place. A sweep first pins its newest record: read between two
// equal counter readings, its place in logging order is certain. That is
// record 0, or, for a backlog longer than the reads left allow, the record
// that many places above the last one taken: the oldest are read first, and
// a sweep that took them is kept though newer ones wait. It then reads the
// records below it, down to the last record taken before. A record that reads
// the same as the one before it was either moved up by a record logged in
// between or is a record alike to it (a unit clock that is off, values that
// stand still): the counter tells which, as it counts every record logged.
// Any other record is the next older one. So while the line reads records
// faster than the unit logs them, nothing is read again or left out. A record
// newer than the one read before it shows that more than one was logged in
// between; such a sweep counts only when the counter proves it, else it is
// read again.
//
// Places are counted from the unit's last counter reset. Below the counted
// places lie records logged before that reset: those newer than the last one
// saved (a record logged after the counter was last read and before it was
// reset, or records the counter lost to a reset from outside) are taken when
// the last one saved shows below them. After a start the program does not
// know whether the counter was reset after the last save: the station file's
// last record is then sought among the counted places too, and only the
// records above it are taken. When it sits right below the counted places,
// the counter was reset after it and every counted record is new, alike to it
// or not. A record logged just before a reset that reads alike to the last
// one saved shows as one alike record more in a row below the counted places
// than were saved in a row, above the one saved before that row. Failing that, the record whose
// time stamp it shares is sought where the times pass its time.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvlink {

struct LoggedRecord {
  std::string line;  // the record's line in the station file
  std::string time;  // its time stamp, in an order that sorts as text
  bool operator==(const LoggedRecord&) const = default;
};

class RecordCollector {
 public:
  // Record n (0 = newest); nothing when it could not be read.
  using ReadRecord = std::function<std::optional<LoggedRecord>(int record)>;
  // The unit's record counter; nothing when it could not be read.
  using ReadCounter = std::function<std::optional<long>()>;
  // The line that tells `count` records were lost.
  using LostLine = std::function<std::string(long count)>;

  // Where the last save of a unit left off: the last record saved, when its
  // counter was reset after it; or, without a reset, the places below
  // `givenUp` (saved, or lost and counted).
  struct Mark {
    std::optional<LoggedRecord> lastSaved;
    long givenUp = 0;
  };
  // Nothing known of a unit's last save but the file's last record line.
  using KnownMark = std::optional<Mark>;

  enum class Outcome {
    Complete,    // every record counted when record 0 was pinned is taken
    Paused,      // the oldest ones are taken, newer ones wait for the next sweep
    ReadFailed,  // a record or the counter could not be read
    Overrun,     // the unit logs faster than its records can be read, or the
                 // save ran long: it goes on at the next visit, without a
                 // counter reset
  };

  // `counter`: the counter as just read; `from`: where this program's last
  // save left off, when it saved the unit since its start; `fileLast`: the
  // last record in the station file, `fileRun` how many records in a row
  // end the file reading alike to it, `fileBefore` the line before them.
  RecordCollector(ReadRecord readRecord, ReadCounter readCounter, LostLine lostLine, long counter,
                  KnownMark from, std::optional<LoggedRecord> fileLast, long fileRun = 1,
                  std::string fileBefore = {});

  // One sweep: takes the records logged since the last one taken.
  Outcome collect();
  // The lines held and not yet taken, oldest first; taken from now on.
  std::vector<std::string> take();
  // The counter read once more: true when nothing was logged since record 0
  // was last pinned.
  std::optional<bool> counterUnchanged();

  // Records counted lost in this save.
  long lost() const { return lost_; }
  // The last overrun came from a unit that logs faster than record 0 can be
  // pinned (or a full counter), not from a long save.
  bool logsTooFast() const { return tooFast_; }
  // The counter stopped counting (65535): it must be reset.
  bool counterFull() const;
  // Where this save leaves off: after a counter reset, or (after an overrun)
  // without one.
  Mark markAfterReset() const;
  // Nothing while the last one saved may still sit among the counted places.
  KnownMark markWithoutReset() const;
  // The unit's counter was just reset: places count from the reset, and the
  // next sweep reads what was logged since, and just before it, down to the
  // newest record taken; markWithoutReset() then tells where it left off.
  void counterWasReset() { counterMoved(0); }

 private:
  enum class Steady { Read, Failed, Moved };
  // Record `index` read between two equal counter readings (Moved: they
  // differed).
  Steady readSteady(long index, std::optional<LoggedRecord>& record);
  // Finds where the last one saved sits, when it may sit anywhere; the
  // outcome when the sweep cannot go on.
  std::optional<Outcome> locate();
  void savedUpToIndex(long index);
  // Pins the newest record of this sweep: record 0, or (oldest first) the
  // record as many places above the lowest wanted as the reads left allow.
  std::optional<Outcome> pin(std::optional<LoggedRecord>& top, long& topPlace);
  void counterMoved(long counter);
  void countLost(long count);
  Outcome overrun();

  ReadRecord readRecord_;
  ReadCounter readCounter_;
  LostLine lostLine_;
  long counter_;                            // as last read
  long floor_;                              // the lowest place wanted
  std::optional<LoggedRecord> firstSaved_;  // the last saved before this save
  std::optional<LoggedRecord> lastSaved_;   // sought past the counted places
  bool savedAnywhere_ = false;              // ... or among them too
  bool located_ = false;
  std::string runLine_;  // the newest saved, how many saved in a row read so,
  long savedRun_ = 0;    // and the one saved before them
  std::string runBefore_;
  std::optional<LoggedRecord> newestTaken_;  // the newest record taken
  std::optional<long> pinned_;               // the counter when record 0 was pinned
  std::vector<std::string> held_;            // oldest first
  long lost_ = 0;
  int reads_ = 0;
  bool tooFast_ = false;
};

}  // namespace kvlink
