#include "RecordCollector.h"

#include <algorithm>
#include <utility>

#include "LoggerRegisters.h"

namespace kvlink {

namespace {

// Tries at pinning record 0 before the unit counts as logging faster than it
// can be read.
constexpr int kPinTries = 8;
// More record reads than this for one save and the same: the save goes on at
// the next visit, so that the poll is not held up for long.
constexpr int kMostReads = 100;
// Records a sweep of a long backlog takes at most: what a part read is in
// the file before the next part is read.
constexpr int kPart = 25;
// The counter stops here and counts no further.
constexpr long kCounterFull = 0xFFFF;

}  // namespace

RecordCollector::RecordCollector(ReadRecord readRecord, ReadCounter readCounter, LostLine lostLine,
                                 long counter, KnownMark from, std::optional<LoggedRecord> fileLast,
                                 long fileRun, std::string fileBefore)
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
  // How many saved in a row read alike to the last one: unknown without the file.
  runLine_ = fileLast ? fileLast->line : std::string();
  runBefore_ = std::move(fileBefore);
  savedRun_ = fileLast ? std::min<long>(fileRun, kMostReads) : kMostReads;
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

RecordCollector::Steady RecordCollector::readSteady(long index,
                                                    std::optional<LoggedRecord>& record) {
  ++reads_;
  record = readRecord_(static_cast<int>(index));
  if (!record) return Steady::Failed;
  const std::optional<long> counter = readCounter_();
  if (!counter) return Steady::Failed;
  if (*counter == counter_) return Steady::Read;
  counterMoved(*counter);
  return Steady::Moved;
}

void RecordCollector::savedUpToIndex(long index) {
  floor_ = counter_ - index;
  lastSaved_.reset();
  savedAnywhere_ = false;
}

std::optional<RecordCollector::Outcome> RecordCollector::locate() {
  // Right below the counted places: the counter was reset after it, and
  // every counted record is new.
  std::optional<LoggedRecord> record;
  for (int tries = 0; tries < kPinTries && counter_ < kLogRecordSlots; ++tries) {
    const Steady read = readSteady(counter_, record);
    if (read == Steady::Failed) return Outcome::ReadFailed;
    if (read == Steady::Moved) continue;
    if (record->line == lastSaved_->line) savedUpToIndex(counter_);
    break;
  }
  if (!savedAnywhere_ || lastSaved_->time.empty()) return std::nullopt;
  // Else where the times pass its time (newest first, times never rise).
  int low = 0, high = kLogRecordSlots;
  while (low < high) {
    const int middle = (low + high) / 2;
    ++reads_;
    record = readRecord_(middle);
    if (!record) return Outcome::ReadFailed;
    if (record->time <= lastSaved_->time)
      high = middle;
    else
      low = middle + 1;
  }
  // Records of the same second first, and a few logged meanwhile.
  for (int index = low, tries = 0; index < std::min(low + 4, kLogRecordSlots) && tries < kPinTries;
       ++tries) {
    const Steady read = readSteady(index, record);
    if (read == Steady::Failed) return Outcome::ReadFailed;
    if (read == Steady::Moved) continue;
    if (record->line == lastSaved_->line) {
      savedUpToIndex(index);
      break;
    }
    if (record->time < lastSaved_->time) break;
    ++index;
  }
  return std::nullopt;
}

std::optional<RecordCollector::Outcome> RecordCollector::pin(std::optional<LoggedRecord>& top,
                                                             long& topPlace) {
  for (int tries = 0;; ++tries) {
    tooFast_ = tries == kPinTries || counterFull();
    if (tooFast_ || reads_ >= kMostReads) return overrun();
    const long gone = counter_ - kLogRecordSlots;
    if (!savedAnywhere_ && gone > floor_) {
      countLost(gone - floor_);
      floor_ = gone;
      lastSaved_.reset();
    }
    topPlace = counter_ - 1;
    // The oldest first, as many as half the reads left can take (records
    // logged meanwhile cost a read each), a part at a time.
    if (!savedAnywhere_)
      topPlace = std::min(topPlace, floor_ + std::clamp((kMostReads - reads_) / 2, 1, kPart) - 1);
    const Steady read = readSteady(counter_ - 1 - topPlace, top);
    if (read == Steady::Failed) return Outcome::ReadFailed;
    if (read == Steady::Read) return std::nullopt;
  }
}

RecordCollector::Outcome RecordCollector::collect() {
  for (;;) {
    if (savedAnywhere_ && !located_) {
      located_ = true;
      if (const std::optional<Outcome> stopped = locate()) return *stopped;
    }
    std::optional<LoggedRecord> top;
    long topPlace = 0;
    if (const std::optional<Outcome> stopped = pin(top, topPlace)) return *stopped;
    const long pinned = counter_;

    // Then older ones, down to the places wanted. Past the counted places a
    // record is taken only once the last one saved shows below it.
    std::vector<LoggedRecord> sweep, past;  // newest first
    long place = topPlace, repeats = 0, lostBelow = 0;
    bool newerSeen = false, found = false, resetMeanwhile = false;
    long alike = 0;  // past the counted places, in a row alike to the last one saved
    const auto take = [&](const LoggedRecord& record) {
      const bool likeSaved = lastSaved_ && record.line == lastSaved_->line;
      if (likeSaved && savedAnywhere_) {
        found = true;
        return false;
      }
      if (alike > 0) {
        if (likeSaved && alike < savedRun_ + kPinTries) {
          ++alike;
          return true;
        }
        // More alike in a row than were saved so: the ones above were logged
        // after the last one saved (a run too long to tell gives none).
        found = true;
        if (!likeSaved && alike > savedRun_ && !runBefore_.empty() && record.line == runBefore_)
          past.insert(past.end(), alike - savedRun_, *lastSaved_);
        return false;
      }
      if (place >= floor_) {
        sweep.push_back(record);
        return true;
      }
      if (likeSaved) {
        // Only where saved ones already read alike (a clock that is off) is
        // it worth reading on; a run too long is not told apart.
        found = true;
        alike = 1;
        return savedRun_ > 1 && savedRun_ < kMostReads;
      }
      if (!lastSaved_ || record.time < lastSaved_->time) return false;
      past.push_back(record);
      return true;
    };
    LoggedRecord last = *top;
    bool goOn = take(last);
    for (long n = pinned - topPlace; goOn && (lastSaved_ || place > floor_); ++n) {
      if (n == kLogRecordSlots) {  // the older ones are overwritten
        lostBelow = place - floor_;
        break;
      }
      ++reads_;
      std::optional<LoggedRecord> record = readRecord_(static_cast<int>(n));
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
    for (auto record = sweep.rbegin(); record != sweep.rend(); ++record) {
      held_.push_back(record->line);
      if (record->line == runLine_) {
        savedRun_ = std::min<long>(savedRun_ + 1, kMostReads);
      } else {
        runBefore_ = std::exchange(runLine_, record->line);
        savedRun_ = 1;
      }
    }
    if (!sweep.empty()) newestTaken_ = sweep.front();
    floor_ = topPlace + 1;  // every place below is taken or not wanted
    lastSaved_.reset();
    savedAnywhere_ = false;
    if (topPlace < pinned - 1) return Outcome::Paused;
    pinned_ = pinned;
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
