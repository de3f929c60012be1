#include "RecordCollector.h"

#include <algorithm>

#include "LoggerRegisters.h"

namespace kvlink {

namespace {

// Records read between two counter reads: long enough that a unit that is
// not logging costs few counter reads, short enough that a run read again
// costs little.
constexpr int kLongestRun = 32;
// More reads than this for one save and the unit is logging faster than it
// can be read.
constexpr int kMostReads = 4 * kLogRecordSlots;

}  // namespace

RecordCollector::RecordCollector(ReadRecord readRecord, ReadCounter readCounter, long counter)
    : readRecord_(std::move(readRecord)),
      readCounter_(std::move(readCounter)),
      counter_(counter),
      run_(kLongestRun) {}

long RecordCollector::firstWanted() const {
  // Only the newest records fit the area; older ones are gone.
  return std::max(taken_, counter_ - kLogRecordSlots);
}

std::optional<long> RecordCollector::newestMissing() const {
  for (long place = counter_ - 1; place >= firstWanted(); --place)
    if (held_.count(place) == 0) return place;
  return std::nullopt;
}

void RecordCollector::counterMoved(long counter) {
  if (counter < counter_) {
    // Reset by someone else: what is held can no longer be placed.
    held_.clear();
    taken_ = 0;
  }
  counter_ = counter;
}

RecordCollector::Outcome RecordCollector::collect() {
  while (const std::optional<long> missing = newestMissing()) {
    std::vector<std::pair<long, std::string>> run;
    for (long place = *missing;
         place >= firstWanted() && held_.count(place) == 0 && int(run.size()) < run_; --place) {
      if (reads_++ >= kMostReads) return Outcome::Overrun;
      std::optional<std::string> line = readRecord_(int(counter_ - 1 - place));
      if (!line) return Outcome::ReadFailed;
      run.emplace_back(place, std::move(*line));
    }
    const std::optional<long> counter = readCounter_();
    if (!counter) return Outcome::ReadFailed;
    if (*counter == counter_) {
      for (auto& [place, line] : run) held_.emplace(place, std::move(line));
      run_ = std::min(run_ * 2, kLongestRun);
    } else {
      run_ = 1;
      counterMoved(*counter);
    }
  }
  return Outcome::Complete;
}

std::vector<std::string> RecordCollector::take() {
  std::vector<std::string> lines;
  for (auto& [place, line] : held_)
    if (place >= taken_) lines.push_back(std::move(line));
  held_.clear();
  taken_ = counter_;
  return lines;
}

std::optional<bool> RecordCollector::counterUnchanged() {
  const std::optional<long> counter = readCounter_();
  if (!counter) return std::nullopt;
  if (*counter == counter_) return true;
  counterMoved(*counter);
  return false;
}

}  // namespace kvlink
