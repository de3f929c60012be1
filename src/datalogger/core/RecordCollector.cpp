#include "RecordCollector.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

#include "LoggerRegisters.h"

namespace kvlink {

namespace {

// More record reads than this for one save and the same: the save goes on at
// the next visit, so that the poll is not held up for long.
constexpr int kMostReads = 100;
// Records a sweep takes at most: what a part read is in the file before the
// next part is read.
constexpr int kPart = 10;

}  // namespace

RecordCollector::RecordCollector(ReadRecord readRecord, ReadCounter readCounter, FileLines lines,
                                 long counter, SavePoint from)
    : readRecord_(std::move(readRecord)),
      readCounter_(std::move(readCounter)),
      lines_(std::move(lines)),
      counter_(counter),
      offsets_(std::move(from.offsets)),
      tail_(std::move(from.lines)),
      mostReads_(kMostReads),
      run_(kPart) {
  if (tail_.size() > kSavePointLines) tail_.resize(kSavePointLines);
  if (from.lostAtLeast) {  // every record the unit holds is sought
    offsets_.clear();
    seekFloor_ = -kLogRecordSlots;
    lostAtLeast_ = from.lostAtLeast;
    mostReads_ += 3 * kLogRecordSlots;  // all of them now: the next visit may come late
  }
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

void RecordCollector::countLost(long count, CountBound bound) {
  if (count <= 0) return;
  hold(lines_.lost(count, bound), false);
  lost_ += count;
  if (bound == CountBound::AtLeast || lostBound_ == CountBound::Exact) lostBound_ = bound;
}

void RecordCollector::dropOverwritten() {
  const long gone = counter_ - kLogRecordSlots;
  if (placed_ && gone > floor_) {
    // Records that may have been saved already and are gone make the count
    // only a bound.
    const long mayBeSaved = std::min(doubt_, gone - floor_);
    countLost(gone - floor_, mayBeSaved > 0 ? CountBound::AtMost : CountBound::Exact);
    doubt_ -= mayBeSaved;
    floor_ = gone;
  }
  if (placed_ && doubt_ > 0) hold(lines_.doubtful(std::exchange(doubt_, 0)), false);
}

RecordCollector::Outcome RecordCollector::overrun() {
  // What the record area no longer holds is lost; the rest waits in the unit
  // for the next visit.
  dropOverwritten();
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

RecordCollector::Round RecordCollector::readRound(const std::vector<long>& places, int tries) {
  for (; tries > 0; --tries) {
    std::vector<std::pair<long, std::string>> read;
    for (const long place : places) {
      const long index = counter_ - place - 1;
      if (index < 0 || index >= kLogRecordSlots || seen_.contains(place) ||
          std::ranges::any_of(read, [&](const auto& r) { return r.first == place; }))
        continue;
      if (reads_ >= mostReads_) return Round::Stopped;
      ++reads_;
      std::optional<std::string> line = readRecord_(static_cast<int>(index));
      if (!line) return Round::Failed;
      read.emplace_back(place, std::move(*line));
    }
    if (read.empty()) return Round::Read;
    const std::optional<long> counter = readCounter_();
    if (!counter) return Round::Failed;
    if (*counter == counter_) {
      seen_.insert(read.begin(), read.end());
      return Round::Read;
    }
    wentBack_ = wentBack_ || *counter < counter_;
    counter_ = *counter;
    if (wentBack_) return Round::Stopped;
  }
  tooFast_ = true;
  return Round::Stopped;
}

const std::string* RecordCollector::seenAt(long place) const {
  const auto found = seen_.find(place);
  return found == seen_.end() ? nullptr : &found->second;
}

std::optional<RecordCollector::Outcome> RecordCollector::stopped(Round round) {
  if (round == Round::Failed) return Outcome::ReadFailed;
  if (wentBack_) return placeAfterOutsideChange();
  return Outcome::Overrun;
}

std::optional<RecordCollector::Outcome> RecordCollector::place() {
  if (wentBack_) return placeAfterOutsideChange();
  if (offsets_.empty()) return seek();
  // Offset o puts the newest record saved at place -o - 1. The lines saved
  // against the records at each offset: one offset is checked on its newest
  // line, several until one is left; each round read between two equal
  // counter readings, and read again when the counter moved under it.
  std::vector<long> open;
  for (const long offset : offsets_)
    if (counter_ + offset >= 0) open.push_back(offset);
  for (size_t j = 0; j < tail_.size() && (j == 0 || open.size() > 1); ++j) {
    std::vector<long> places;
    for (const long offset : open) places.push_back(-offset - 1 - long(j));
    if (const Round round = readRound(places); round != Round::Read) return stopped(round);
    std::erase_if(open, [&](long offset) {
      const std::string* line = seenAt(-offset - 1 - long(j));
      return line && *line != tail_[j];  // overwritten: no telling
    });
  }
  if (open.empty()) return placeAfterOutsideChange();
  const auto [low, high] = std::ranges::minmax(open);
  floor_ = -high;
  doubt_ = high - low;  // saved rather than dropped, after a line that says so
  placed_ = true;
  return std::nullopt;
}

std::optional<RecordCollector::Outcome> RecordCollector::seek() {
  const long lowest = std::max(counter_ - kLogRecordSlots, seekFloor_);
  placed_ = tail_.empty() || counter_ <= lowest;
  if (placed_) {
    floor_ = lostAtLeast_ ? lowest : 0;
    countLost(lostAtLeast_.value_or(0), CountBound::AtLeast);
    return std::nullopt;
  }
  // Every record held from there up, a part at a time between two equal
  // counter readings: once, however many, with the records logged meanwhile.
  mostReads_ += int(3 * (counter_ - lowest));
  for (long from = lowest, size = kPart; from < counter_;) {
    // Smaller parts while the counter moves under them.
    std::vector<long> places(size_t(size), 0);
    std::iota(places.begin(), places.end(), from);
    const Round round = readRound(places, size > 1 ? 1 : kSteadyTries);
    if (round == Round::Read) {
      from += size;
      size = std::min<long>(kPart, size + 1);
      continue;
    }
    if (round == Round::Failed || wentBack_ || size == 1 || reads_ >= mostReads_)
      return stopped(round);
    tooFast_ = false;
    size /= 2;
  }
  // The places whose record and those below it read as the last lines saved;
  // where none does, as the lines below the newest (a line edited or cut).
  std::vector<long> fits;
  size_t skipped = 0;
  for (; fits.empty() && skipped < tail_.size(); ++skipped)
    for (const auto& [place, line] : seen_) {
      bool fit = place >= lowest;
      for (size_t j = skipped; fit && j < tail_.size() && seenAt(place + long(skipped - j)); ++j)
        fit = *seenAt(place + long(skipped - j)) == tail_[j];
      if (fit) fits.push_back(place + long(skipped));
    }
  placed_ = true;
  floor_ = lowest;
  if (!fits.empty()) {
    const auto [low, high] = std::ranges::minmax(fits);
    floor_ = low + 1;
    doubt_ = high - low;
  } else if (lostAtLeast_) {
    countLost(*lostAtLeast_, CountBound::AtLeast);
  } else if (lowest > seekFloor_) {
    // Lost between the newest saved and the oldest held: none when the
    // newest saved was just below them.
    countLost(lowest - seekFloor_ - 1, CountBound::AtMost);
  } else {
    doubt_ = counter_ - lowest;  // the file ends with lines the unit does not hold
  }
  return std::nullopt;
}

void RecordCollector::takeSeen() {
  for (const std::string* line; floor_ < counter_ && (line = seenAt(floor_)); ++floor_)
    hold(*line, true);
}

std::optional<RecordCollector::Outcome> RecordCollector::placeAfterOutsideChange() {
  wentBack_ = false;
  floor_ = 0;
  doubt_ = 0;
  seen_.clear();
  // Records logged before the change are below the counted ones, newest
  // first: those above the newest one saved are taken, when it shows.
  for (long index = counter_; !tail_.empty() && index < kLogRecordSlots; ++index) {
    if (reads_ >= mostReads_ / 2) break;
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
    dropOverwritten();
    takeSeen();
    if (counter_ >= kRecordCounterFull) {
      tooFast_ = true;
      return overrun();
    }
    if (floor_ >= counter_) {
      pinned_ = counter_;
      return Outcome::Complete;
    }
    if (reads_ >= mostReads_) return overrun();
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
  // (records logged meanwhile cost a read each), below any already read,
  // newest first, in runs each followed by a counter reading.
  long top = std::min(counter_ - 1, floor_ + std::clamp((mostReads_ - reads_) / 2, 1, kPart) - 1);
  if (const auto above = seen_.lower_bound(floor_); above != seen_.end())
    top = std::min(top, above->first - 1);
  std::vector<std::string> part;  // newest first: part[i] is at place top - i
  const auto readAt = [&](long place) -> const std::string* {
    return place <= top ? &part[size_t(top - place)] : seenAt(place);
  };
  long lostBelow = 0;
  for (int tries = 0; top - long(part.size()) >= floor_;) {
    const long place = top - long(part.size());
    const long first = counter_ - place - 1;
    if (first >= kLogRecordSlots) {  // it and the older ones are overwritten
      lostBelow = place - floor_ + 1;
      break;
    }
    if (tries == kSteadyTries) {
      tooFast_ = true;
      return overrun();
    }
    // The first of the part alone, then runs shorter while records logged
    // meanwhile leave them uncertain; a run ends where a record reads as the
    // one above it: moved there by one logged, or alike to it.
    const long last = std::min(
        {first + (part.empty() ? 0 : run_ - 1), first + place - floor_, kLogRecordSlots - 1L});
    std::vector<std::string> run;
    for (long index = first; index <= last; ++index) {
      if (reads_ >= mostReads_) return overrun();
      ++reads_;
      std::optional<std::string> line = readRecord_(static_cast<int>(index));
      if (!line) return Outcome::ReadFailed;
      run.push_back(std::move(*line));
      const std::string* above = run.size() > 1 ? &run.end()[-2] : readAt(place + 1);
      if (above && *above == run.back()) break;
    }
    const long before = counter_;
    const std::optional<long> counter = readCounter_();
    if (!counter) return Outcome::ReadFailed;
    wentBack_ = wentBack_ || *counter < counter_;
    counter_ = *counter;
    if (wentBack_) return std::nullopt;
    // Each record logged before a read moved the one above onto its place,
    // and those after it likewise: while the records before it in the run
    // are at their places, a record is at its own when the counter did not
    // move, or when it reads unlike every record that may have been moved
    // there. From the first that is not, the places are read again.
    size_t certain = 0;
    for (bool at = true; at && certain < run.size(); certain += at) {
      const long own = place - long(certain);
      for (long moved = 1; at && moved <= counter_ - before; ++moved) {
        const std::string* above = readAt(own + moved);
        at = above && *above != run[certain];
      }
      if (at) part.push_back(std::move(run[certain]));
    }
    tries = certain == 0 ? tries + 1 : 0;
    if (certain < run.size())
      run_ = std::max(1L, run_ / 2);
    else if (counter_ == before)
      run_ = std::min(long(kPart), run_ * 2);
  }
  countLost(lostBelow, CountBound::Exact);
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
  if (!placed_) return SavePoint{offsets_, tail_, lostAtLeast_};
  return SavePoint{{-floor_}, tail_, std::nullopt};
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
  seen_.clear();
  placed_ = false;
  wentBack_ = false;
  pinned_.reset();
}

}  // namespace kvlink
