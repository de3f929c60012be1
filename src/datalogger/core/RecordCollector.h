#pragma once
// Collects, from a unit that may go on logging while it is read, every record
// it logged since its counter was last reset, each exactly once, oldest first.
//
// Record 0 is the newest, so each record logged meanwhile moves every other
// one up by one place: which record a read got is certain only when the
// counter read after it equals the counter read before it. Records are
// therefore read in runs, from the newest one still missing upward, and a run
// is kept only when the counter did not move under it; otherwise it is read
// again under the new counter, one record a run until runs get through
// again. A record is known by its place
// in logging order since the reset, so records of equal content all count.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kvlink {

class RecordCollector {
 public:
  // The line of record n (0 = newest); nothing when it could not be read.
  using ReadRecord = std::function<std::optional<std::string>(int record)>;
  // The unit's record counter; nothing when it could not be read.
  using ReadCounter = std::function<std::optional<long>()>;

  enum class Outcome {
    Complete,    // every record the counter counts is held
    ReadFailed,  // a record or the counter could not be read
    Overrun,     // the unit logs faster than its records can be read
  };

  // `counter`: the counter as just read.
  RecordCollector(ReadRecord readRecord, ReadCounter readCounter, long counter);

  // Reads until every record the counter counts is held, or a read fails.
  Outcome collect();
  // The records held and not yet taken, oldest first; taken from now on.
  std::vector<std::string> take();
  // The counter as read once more after the records were taken: true when it
  // has not moved, false (and collect() reads the records logged meanwhile)
  // when it has.
  std::optional<bool> counterUnchanged();

 private:
  long firstWanted() const;
  // The newest record still missing, by its place in logging order.
  std::optional<long> newestMissing() const;
  void counterMoved(long counter);

  ReadRecord readRecord_;
  ReadCounter readCounter_;
  long counter_;
  long taken_ = 0;                    // places below this are taken
  std::map<long, std::string> held_;  // place in logging order -> line
  int run_;
  int reads_ = 0;
};

}  // namespace kvlink
