#pragma once
// Collects, from a unit that may go on logging while it is read, every record
// it logged since the last save, each exactly once, oldest first; records the
// unit overwrote before they could be read are counted, on a line of their
// own where they were lost.
//
// Record 0 is the newest, and each record logged moves every other one up by
// one place and adds one to the unit's record counter. So the place of a
// record, counted from the counter's last reset (0 = the oldest since), is
// the counter less its record number less one; a record read between two
// equal counter readings is the one at its place, whatever it reads like.
// Where the last save left off is a place too (a SavePoint, kept in the
// station's note): the records above it are read oldest first in parts of at
// most 10, each part newest first, its first record read between two equal
// counter readings and the others in runs each ended by a counter reading. A
// record logged before a read moves the one above onto the place read, so a
// record is at its place when the counter did not move or it reads unlike
// each record that may have moved there; the others are read again, in
// shorter runs while the unit keeps logging. At most 100 record reads a save.
//
// What records read like serves only where the counter cannot tell: after a
// counter reset (a record logged between the last counter reading and the
// reset is not counted) or when a reset written got no answer, the newest
// record saved sits at one of a few places, told apart by the last lines
// saved; and a counter that went back or moved under the records saved shows
// it was changed from outside (a reset from another program, a unit restarted
// or replaced). Without a place at all (no note that fits its file) every
// record the unit holds is read, and the last lines saved are sought among
// them: the records above the place that fits, proven where only one does,
// are taken as if noted. Then the file says what could not be known:
// records that may already be in the file are saved after a "Records
// doubtful" line, a count of records lost that is only a bound says so, and
// a counter changed from outside gets a line saying records may be missing.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "LogRecordLine.h"
#include "SaveNote.h"

namespace kvlink {

class RecordCollector {
 public:
  // Record n's line in the station file (0 = newest); nothing when it could
  // not be read.
  using ReadRecord = std::function<std::optional<std::string>(int record)>;
  // The unit's record counter; nothing when it could not be read.
  using ReadCounter = std::function<std::optional<long>()>;
  // The station file's lines that say what a save could not do or know.
  struct FileLines {
    std::function<std::string(long count, CountBound bound)> lost;  // overwritten unread
    std::function<std::string(long count)> doubtful;  // the next records may be saved already
    std::string counterChanged;                       // records before may be missing
  };

  enum class Outcome {
    Complete,    // every record counted is taken
    Paused,      // the oldest ones are taken, newer ones wait for the next sweep
    ReadFailed,  // a record or the counter could not be read
    Overrun,     // the unit logs faster than its records can be read, or the
                 // save ran long: it goes on at the next visit, without a
                 // counter reset
  };

  // `counter`: the counter as just read; `from`: where the last save left off
  // (no offsets: not known, sought by the last lines saved).
  RecordCollector(ReadRecord readRecord, ReadCounter readCounter, FileLines lines, long counter,
                  SavePoint from);

  // One sweep: takes the records logged since the last one taken.
  Outcome collect();
  // The lines held and not yet taken, oldest first; taken from now on.
  std::vector<std::string> take();
  // The counter read once more: true when nothing was logged since every
  // counted record was taken.
  std::optional<bool> counterUnchanged();

  // Records counted lost in this save, and whether that count is exact.
  long lost() const { return lost_; }
  CountBound lostBound() const { return lostBound_; }
  // The last overrun came from a unit that logs faster than its records can
  // be read, not from a long save.
  bool logsTooFast() const { return tooFast_; }
  // Where the records taken so far leave off.
  SavePoint point() const;
  // The same, for a counter reset about to be written: done or not.
  SavePoint pointAcrossReset() const;
  // The unit's counter was just reset: places count from the reset, and the
  // next sweep first tells whether a record was logged just before it.
  void counterWasReset();

 private:
  // Readings in a row that find the counter moved before the unit counts as
  // logging faster than it can be read.
  static constexpr int kSteadyTries = 8;
  enum class Steady { Read, Failed, Moved };
  // Record `index` read between two equal counter readings (Moved: they
  // differed).
  Steady readSteady(long index, std::optional<std::string>& line);
  enum class Round { Read, Failed, Stopped };
  // The records at `places` not yet seen, read between two equal counter
  // readings, into seen_; a place outside the record area stays unseen.
  // Stopped: the read budget is spent, the counter went back, or it moved
  // under every one of `tries`.
  Round readRound(const std::vector<long>& places, int tries = kSteadyTries);
  const std::string* seenAt(long place) const;
  // Tells which of the offsets holds the newest record saved.
  std::optional<Outcome> place();
  // Seeks the last lines saved among the records the unit holds.
  std::optional<Outcome> seek();
  // Takes the records already read from floor_ up.
  void takeSeen();
  std::optional<Outcome> stopped(Round round);
  // The counter was changed from outside: the newest record saved is sought
  // below the counted ones, and the file says records may be missing.
  std::optional<Outcome> placeAfterOutsideChange();
  // Takes the oldest records not yet taken, a part at a time; nothing when
  // the counter went back.
  std::optional<Outcome> sweep();
  void hold(const std::string& line, bool record);
  void countLost(long count, CountBound bound);
  // Counts the records the area no longer holds, and says before the next
  // records how many of them may be saved already.
  void dropOverwritten();
  Outcome overrun();

  ReadRecord readRecord_;
  ReadCounter readCounter_;
  FileLines lines_;
  long counter_;  // as last read
  bool wentBack_ = false;
  long floor_ = 0;             // the lowest place not yet taken (below 0: logged before the reset)
  std::vector<long> offsets_;  // while not placed: where the newest saved may sit; none: sought
  bool placed_ = false;
  long doubt_ = 0;                   // of the records from floor_ up, how many may be saved already
  long seekFloor_ = -2;              // the lowest place sought without an offset
  std::optional<long> lostAtLeast_;  // the counter was full
  std::map<long, std::string> seen_;  // records read by place, while places hold
  std::vector<std::string> tail_;     // the newest records taken or saved, newest first
  std::optional<long> pinned_;        // the counter when every counted record was taken
  std::vector<std::string> held_;     // oldest first
  long lost_ = 0;
  CountBound lostBound_ = CountBound::Exact;
  int reads_ = 0;
  int mostReads_;  // for this save
  long run_;       // records read between two counter readings at most: fewer while they move
  bool tooFast_ = false;
};

}  // namespace kvlink
