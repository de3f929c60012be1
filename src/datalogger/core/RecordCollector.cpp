#include "RecordCollector.h"

#include <algorithm>
#include <map>
#include <utility>

#include "LoggerRegisters.h"

namespace kvlink {

namespace {

// Readings in a row that find the counter moved before the unit counts as
// logging faster than it can be read.
constexpr int kSteadyTries = 8;
// More record reads than this for one save and the same: the save goes on at
// the next visit, so that the poll is not held up for long.
constexpr int kMostReads = 100;
// Records a sweep takes at most: what a part read is in the file before the
// next part is read.
constexpr int kPart = 10;
// The counter stops here and counts no further.
constexpr long kCounterFull = 0xFFFF;

}  // namespace

RecordCollector::RecordCollector(ReadRecord readRecord, ReadCounter readCounter, FileLines lines,
                                 long counter, SavePoint from)
    : readRecord_(std::move(readRecord)),
      readCounter_(std::move(readCounter)),
      lines_(std::move(lines)),
      counter_(counter),
      offsets_(std::move(from.offsets)),
      tail_(std::move(from.lines)) {
  if (tail_.size() > kSavePointLines) tail_.resize(kSavePointLines);
}

bool RecordCollector::counterFull() const {
  return counter_ >= kCounterFull;
}

void RecordCollector::hold(const std::string& line, bool record) {
  held_.push_back(line);
  if (!record) {
    tail_.clear();  // what follows is no longer in a row with what was saved before
    return;
  }
  tail_.insert(tail_.begin(), line);
  if (tail_.size() > kSavePointLines) tail_.pop_back();
}

void RecordCollector::countLost(long count) {
  if (count <= 0) return;
  hold(lines_.lost(count), false);
  lost_ += count;
}

RecordCollector::Outcome RecordCollector::overrun() {
  // What the record area no longer holds is lost; the rest waits in the unit
  // for the next visit. A full counter is reset: all it counted is given up.
  const long gone = counterFull() ? counter_ : counter_ - kLogRecordSlots;
  if (placed_ && gone > floor_) {
    countLost(gone - floor_);
    floor_ = gone;
  }
  return Outcome::Overrun;
}

RecordCollector::Steady RecordCollector::readSteady(long index, std::optional<std::string>& line) {
  ++reads_;
  line = readRecord_(static_cast<int>(index));
  if (!line) return Steady::Failed;
  const std::optional<long> counter = readCounter_();
  if (!counter) return Steady::Failed;
  if (*counter == counter_) return Steady::Read;
  wentBack_ = wentBack_ || *counter < counter_;
  counter_ = *counter;
  return Steady::Moved;
}

std::optional<RecordCollector::Outcome> RecordCollector::place() {
  for (int tries = 0; tries < kSteadyTries; ++tries) {
    if (wentBack_) return placeAfterOutsideChange();
    std::vector<long> open;
    for (const long offset : offsets_)
      if (counter_ + offset >= 0) open.push_back(offset);
    // The lines saved against the records at each offset: one offset is
    // checked on its newest line, several until one is left. The records of
    // each round are read between two equal counter readings.
    std::map<long, std::string> seen;
    bool moved = false;
    for (size_t j = 0; !moved && j < tail_.size() && (j == 0 || open.size() > 1); ++j) {
      const auto indexOf = [&](long offset) { return counter_ + offset + long(j); };
      bool read = false;
      for (const long offset : open) {
        const long index = indexOf(offset);
        if (index >= kLogRecordSlots || seen.contains(index)) continue;  // overwritten: no telling
        if (reads_ >= kMostReads) return Outcome::Overrun;
        ++reads_;
        std::optional<std::string> line = readRecord_(static_cast<int>(index));
        if (!line) return Outcome::ReadFailed;
        seen.emplace(index, std::move(*line));
        read = true;
      }
      if (read) {
        const std::optional<long> counter = readCounter_();
        if (!counter) return Outcome::ReadFailed;
        moved = *counter != counter_;
        wentBack_ = wentBack_ || *counter < counter_;
        counter_ = *counter;
      }
      std::erase_if(open, [&](long offset) {
        const auto found = seen.find(indexOf(offset));
        return !moved && found != seen.end() && found->second != tail_[j];
      });
    }
    if (moved) continue;
    if (open.empty()) return placeAfterOutsideChange();
    const auto [low, high] = std::ranges::minmax(open);
    floor_ = -high;
    placed_ = true;
    // Saved rather than dropped, after a line that says so.
    if (high > low) hold(lines_.doubtful(high - low), false);
    return std::nullopt;
  }
  tooFast_ = true;
  return Outcome::Overrun;
}

std::optional<RecordCollector::Outcome> RecordCollector::placeAfterOutsideChange() {
  wentBack_ = false;
  floor_ = 0;
  // Records logged before the change are below the counted ones, newest
  // first: those above the newest one saved are taken, when it shows.
  for (long index = counter_; !tail_.empty() && index < kLogRecordSlots; ++index) {
    if (reads_ >= kMostReads / 2) break;
    const long counter = counter_;
    std::optional<std::string> line;
    const Steady read = readSteady(index, line);
    if (read == Steady::Failed) return Outcome::ReadFailed;
    if (read == Steady::Moved) {
      if (wentBack_) break;
      index += counter_ - counter - 1;  // read again where it moved to
      continue;
    }
    if (*line == tail_.front()) {
      floor_ = counter_ - index;
      break;
    }
  }
  wentBack_ = false;
  placed_ = true;
  hold(lines_.counterChanged, false);
  return std::nullopt;
}

RecordCollector::Outcome RecordCollector::collect() {
  for (int tries = 0;;) {
    if (wentBack_ || !placed_) {
      if (const std::optional<Outcome> stopped = place()) return *stopped;
    }
    if (counterFull()) {
      tooFast_ = true;
      return overrun();
    }
    const long gone = counter_ - kLogRecordSlots;
    if (gone > floor_) {
      countLost(gone - floor_);
      floor_ = gone;
    }
    if (floor_ >= counter_) {
      pinned_ = counter_;
      return Outcome::Complete;
    }
    if (reads_ >= kMostReads) return overrun();
    if (tries == kSteadyTries) {
      tooFast_ = true;
      return overrun();
    }
    const std::optional<Outcome> swept = sweep();
    if (!swept) {
      ++tries;
      continue;
    }
    if (*swept != Outcome::Complete) return *swept;
    if (floor_ < counter_) return Outcome::Paused;
  }
}

std::optional<RecordCollector::Outcome> RecordCollector::sweep() {
  // The oldest places not yet taken, as many as half the reads left can take
  // (records logged meanwhile cost a read each), read newest first from one
  // read between two equal counter readings.
  const long top =
      std::min(counter_ - 1, floor_ + std::clamp((kMostReads - reads_) / 2, 1, kPart) - 1);
  const long pinned = counter_;
  std::optional<std::string> line;
  const Steady read = readSteady(pinned - 1 - top, line);
  if (read == Steady::Failed) return Outcome::ReadFailed;
  if (read == Steady::Moved) return std::nullopt;
  std::vector<std::string> part{std::move(*line)};  // newest first
  // Each record logged meanwhile moves the next one read up onto the one
  // read before it: a record that reads the same was moved, or is alike to
  // it, as the counter tells. More than one logged between two reads, and
  // the sweep is read again.
  long repeats = 0, place = top, lostBelow = 0;
  const auto unaccounted = [&]() -> std::optional<long> {
    const std::optional<long> counter = readCounter_();
    if (!counter) return std::nullopt;
    wentBack_ = wentBack_ || *counter < counter_;
    counter_ = *counter;
    return *counter - pinned - repeats;
  };
  for (long n = pinned - top; place > floor_; ++n) {
    if (n == kLogRecordSlots) {  // the older ones are overwritten
      lostBelow = place - floor_;
      break;
    }
    if (reads_ >= kMostReads) return Outcome::Overrun;
    ++reads_;
    line = readRecord_(static_cast<int>(n));
    if (!line) return Outcome::ReadFailed;
    if (*line == part.back()) {
      const std::optional<long> moved = unaccounted();
      if (!moved) return Outcome::ReadFailed;
      if (*moved < 0 || *moved > 1) return std::nullopt;
      if (*moved == 1) {
        ++repeats;
        continue;
      }
    }
    part.push_back(std::move(*line));
    --place;
  }
  // One more logged after the last read leaves every place as read.
  const std::optional<long> moved = unaccounted();
  if (!moved) return Outcome::ReadFailed;
  if (*moved < 0 || *moved > 1) return std::nullopt;
  countLost(lostBelow);
  for (auto record = part.rbegin(); record != part.rend(); ++record) hold(*record, true);
  floor_ = top + 1;
  return Outcome::Complete;
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
  wentBack_ = wentBack_ || *counter < counter_;
  counter_ = *counter;
  return false;
}

SavePoint RecordCollector::point() const {
  if (!placed_) return SavePoint{offsets_, tail_};
  return SavePoint{{-floor_}, tail_};
}

SavePoint RecordCollector::pointAcrossReset() const {
  SavePoint point = this->point();
  for (const long offset : {0L, 1L})
    if (std::ranges::find(point.offsets, offset) == point.offsets.end())
      point.offsets.push_back(offset);
  return point;
}

void RecordCollector::counterWasReset() {
  counter_ = 0;
  floor_ = 0;
  offsets_ = {0, 1};
  placed_ = false;
  wentBack_ = false;
  pinned_.reset();
}

}  // namespace kvlink
