#include "RecordCollector.h"

#include <algorithm>

#include "LoggerRegisters.h"

namespace kvlink {

namespace {

// Tries at pinning record 0 before the unit counts as logging faster than it
// can be read.
constexpr int kPinTries = 8;
// More record reads than this for one save and the same: the save goes on at
// the next visit, so that the poll is not held up for long.
constexpr int kMostReads = 100;
// The counter stops here and counts no further.
constexpr long kCounterFull = 0xFFFF;

}  // namespace

RecordCollector::RecordCollector(ReadRecord readRecord, ReadCounter readCounter, LostLine lostLine,
                                 long counter, KnownMark from, std::optional<LoggedRecord> fileLast)
    : readRecord_(std::move(readRecord)),
      readCounter_(std::move(readCounter)),
      lostLine_(std::move(lostLine)),
      counter_(counter) {
  if (!from || counter < from->givenUp) {
    // Not saved since the start, or reset meanwhile by someone else: only
    // the file tells what is saved.
    from = Mark{fileLast, 0};
    savedAnywhere_ = fileLast.has_value();
  } else if (from->givenUp == 0 && fileLast) {
    from->lastSaved = fileLast;
  }
  floor_ = from->givenUp;
  if (floor_ == 0) lastSaved_ = from->lastSaved;
  firstSaved_ = lastSaved_;
}

bool RecordCollector::counterFull() const {
  return counter_ >= kCounterFull;
}

void RecordCollector::counterMoved(long counter) {
  if (counter < counter_) {
    // Reset by someone else: the places start again below the newest taken.
    floor_ = 0;
    if (newestTaken_) {
      lastSaved_ = newestTaken_;
      savedAnywhere_ = false;
    }
  }
  counter_ = counter;
}

void RecordCollector::countLost(long count) {
  if (count <= 0) return;
  held_.push_back(lostLine_(count));
  lost_ += count;
}

RecordCollector::Outcome RecordCollector::overrun() {
  // What the record area no longer holds is lost; the rest waits in the unit
  // for the next visit. A full counter is reset: all it counted is given up.
  const long gone = counterFull() ? counter_ : counter_ - kLogRecordSlots;
  if (gone > floor_ && !savedAnywhere_) {
    countLost(gone - floor_);
    floor_ = gone;
  }
  return Outcome::Overrun;
}

std::optional<RecordCollector::Outcome> RecordCollector::pin(std::optional<LoggedRecord>& newest) {
  for (int tries = 0;; ++tries) {
    tooFast_ = tries == kPinTries || counterFull();
    if (tooFast_ || reads_ >= kMostReads) return overrun();
    ++reads_;
    newest = readRecord_(0);
    if (!newest) return Outcome::ReadFailed;
    std::optional<long> counter = readCounter_();
    if (!counter) return Outcome::ReadFailed;
    if (*counter != counter_) {
      counterMoved(*counter);
      continue;
    }
    if (!savedAnywhere_ || counter_ >= kLogRecordSlots) return std::nullopt;
    // The last one saved right below the counted places: the counter was
    // reset after it, and every counted record is new.
    ++reads_;
    const std::optional<LoggedRecord> below = readRecord_(static_cast<int>(counter_));
    if (!below) return Outcome::ReadFailed;
    counter = readCounter_();
    if (!counter) return Outcome::ReadFailed;
    if (*counter != counter_) {
      counterMoved(*counter);
      continue;
    }
    savedAnywhere_ = below->line != lastSaved_->line;
    return std::nullopt;
  }
}

RecordCollector::Outcome RecordCollector::collect() {
  for (;;) {
    std::optional<LoggedRecord> newest;
    if (const std::optional<Outcome> stopped = pin(newest)) return *stopped;
    const long pinned = counter_;

    // Then older ones, down to the places wanted. Past the counted places a
    // record is taken only once the last one saved shows below it.
    std::vector<LoggedRecord> sweep, past;  // newest first
    long place = pinned - 1, repeats = 0, lostBelow = 0;
    bool newerSeen = false, found = false, resetMeanwhile = false;
    const auto take = [&](const LoggedRecord& record) {
      if (lastSaved_ && record.line == lastSaved_->line && (savedAnywhere_ || place < floor_)) {
        found = true;
        return false;
      }
      if (place >= floor_) {
        sweep.push_back(record);
        return true;
      }
      if (!lastSaved_ || record.time < lastSaved_->time) return false;
      past.push_back(record);
      return true;
    };
    LoggedRecord last = *newest;
    bool goOn = take(last);
    for (int n = 1; goOn && (lastSaved_ || place > floor_); ++n) {
      if (n == kLogRecordSlots) {  // the older ones are overwritten
        lostBelow = place - floor_;
        break;
      }
      ++reads_;
      std::optional<LoggedRecord> record = readRecord_(n);
      if (!record) return Outcome::ReadFailed;
      if (record->line == last.line) {
        // Moved up by one logged meanwhile, or alike to the one before.
        const std::optional<long> counter = readCounter_();
        if (!counter) return Outcome::ReadFailed;
        if (*counter < pinned + repeats) {
          counterMoved(*counter);
          resetMeanwhile = true;
          break;
        }
        if (*counter > pinned + repeats) {
          ++repeats;
          continue;
        }
      }
      newerSeen = newerSeen || record->time > last.time;
      last = std::move(*record);
      --place;
      goOn = take(last);
    }
    if (resetMeanwhile) continue;
    if (newerSeen) {
      // More than one record logged between two reads, or a clock set back:
      // the sweep holds only when the counter counts no more records logged
      // than it saw.
      const std::optional<long> counter = readCounter_();
      if (!counter) return Outcome::ReadFailed;
      if (*counter != pinned + repeats) {
        counterMoved(*counter);
        continue;
      }
      counter_ = *counter;
    }
    countLost(lostBelow);
    if (found) sweep.insert(sweep.end(), past.begin(), past.end());
    for (auto record = sweep.rbegin(); record != sweep.rend(); ++record)
      held_.push_back(record->line);
    if (!sweep.empty()) newestTaken_ = sweep.front();
    pinned_ = pinned;
    floor_ = pinned;  // every place below is taken or not wanted
    lastSaved_.reset();
    savedAnywhere_ = false;
    return Outcome::Complete;
  }
}

std::vector<std::string> RecordCollector::take() {
  std::vector<std::string> lines;
  lines.swap(held_);
  return lines;
}

std::optional<bool> RecordCollector::counterUnchanged() {
  const std::optional<long> counter = readCounter_();
  if (!counter) return std::nullopt;
  if (pinned_ && *counter == *pinned_) return true;
  counterMoved(*counter);
  return false;
}

RecordCollector::Mark RecordCollector::markAfterReset() const {
  return Mark{newestTaken_ ? newestTaken_ : firstSaved_, 0};
}

RecordCollector::KnownMark RecordCollector::markWithoutReset() const {
  if (savedAnywhere_) return std::nullopt;
  // Still sought when no sweep got that far.
  return Mark{floor_ == 0 ? lastSaved_ : std::nullopt, floor_};
}

}  // namespace kvlink
