#pragma once
// Collects, from a unit that may go on logging while it is read, every record
// it logged since the last save, each exactly once, oldest first; records the
// unit overwrote before they could be read are counted, on a line of their
// own where they were lost.
//
// Record 0 is the newest, and each record logged moves every other one up by
// exactly one place. A sweep first pins record 0: read between two equal
// counter readings, its place in logging order is certain. It then reads
// records 1, 2, ... down to the last record taken before: a record that reads
// the same as the one before it was moved up by a record logged in between
// (records carry their time stamp, so two in a row are never alike); any
// other is the next older one. So while the line reads records faster than
// the unit logs them, nothing is read again or left out, whatever the counter
// did meanwhile. A record newer than the one read before it shows that more
// than one was logged in between; such a sweep counts only when the counter
// proves it, else it is read again.
//
// Places are counted from the unit's last counter reset. A record logged
// after the counter was last read and before it was reset is not counted: a
// sweep straight after the reset reads down to the newest record taken, and
// failing that, the next save compares the record just past the counted ones
// with the last one saved; one that differs and is newer is taken too.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvlink {

struct LoggedRecord {
  std::string line;  // the record's line in the station file
  std::string time;  // its time stamp, in an order that sorts as text
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

  enum class Outcome {
    Complete,    // every record counted when record 0 was pinned is taken
    ReadFailed,  // a record or the counter could not be read
    Overrun,     // the unit logs faster than its records can be read, or the
                 // save ran long: it goes on at the next visit, without a
                 // counter reset
  };

  // `counter`: the counter as just read.
  RecordCollector(ReadRecord readRecord, ReadCounter readCounter, LostLine lostLine, long counter,
                  Mark from);

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
  Mark markWithoutReset() const;
  // The unit's counter was just reset: places count from the reset, and the
  // next sweep reads what was logged since, and just before it, down to the
  // newest record taken; markWithoutReset() then tells where it left off.
  void counterWasReset() { counterMoved(0); }

 private:
  bool wanted(const LoggedRecord& record, long place) const;
  void counterMoved(long counter);
  void countLost(long count);
  Outcome overrun();

  ReadRecord readRecord_;
  ReadCounter readCounter_;
  LostLine lostLine_;
  long counter_;                             // as last read
  long floor_;                               // the lowest place wanted
  std::optional<LoggedRecord> firstSaved_;   // the last saved before this save
  std::optional<LoggedRecord> lastSaved_;    // sought past the counted places
  std::optional<LoggedRecord> newestTaken_;  // the newest record taken
  std::optional<long> pinned_;               // the counter when record 0 was pinned
  std::vector<std::string> held_;            // oldest first
  long lost_ = 0;
  int reads_ = 0;
  bool tooFast_ = false;
};

}  // namespace kvlink
