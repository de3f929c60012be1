#include "link/OwedReplies.h"

#include <algorithm>

namespace kvlink {
namespace {

using Clock = OwedReplies::Clock;

constexpr uint8_t kExceptionFlag = 0x80;

template <typename Owed>
bool fits(const Owed& o, uint8_t function, int bytes) {
  if ((function & ~kExceptionFlag) != o.function) return false;
  return (function & kExceptionFlag) != 0 || bytes == o.replyBytes;
}

}  // namespace

void OwedReplies::purge(Station& s, Clock::time_point now) {
  std::erase_if(s.owed, [&](const Owed& o) { return o.doubt <= now; });
}

void OwedReplies::learn(Station& s, Clock::duration wait) {
  wait = std::min<Clock::duration>(wait, kLongestReplyWait);
  if (wait <= s.wait) return;
  s.wait = wait;
  // What is still owed may come as late as the station has now shown it can be.
  for (Owed& o : s.owed) o.doubt = std::max(o.doubt, o.sent + 2 * wait);
}

void OwedReplies::sent(const Call& call, Clock::time_point sent, Clock::duration timeout) {
  Station& s = at(call.station);
  const Clock::time_point due = sent + (s.answered ? 2 * timeout : timeout);
  const Clock::time_point doubt = sent + std::max<Clock::duration>(kReplyDoubt, 2 * timeout);
  s.owed.push_back({call.id, call.function, call.replyBytes, sent, due, doubt});
}

Clock::time_point OwedReplies::clearAt(const Call& call, bool waitOwn, Clock::time_point now) {
  Clock::time_point clear = now;
  for (int number = 0; number < static_cast<int>(stations_.size()); ++number) {
    Station& s = stations_[number];
    if (s.owed.empty()) continue;
    purge(s, now);
    for (const Owed& o : s.owed) {
      if (o.call == call.id && !waitOwn) continue;
      clear = std::max(clear, o.due);
      if (number == call.station && o.call != call.id && fits(o, call.function, call.replyBytes)) {
        clear = std::max(clear, o.doubt);
      }
    }
  }
  return clear;
}

bool OwedReplies::onlyFor(const Call& call, uint8_t function, int bytes, Clock::time_point now) {
  Station& s = at(call.station);
  purge(s, now);
  bool own = false;
  for (const Owed& o : s.owed) {
    if (o.call == call.id) {
      own = true;
    } else if (fits(o, function, bytes)) {
      return false;
    }
  }
  return own;
}

void OwedReplies::taken(const Call& call, Clock::time_point seen) {
  Station& s = at(call.station);
  s.answered = true;
  const auto first =
      std::find_if(s.owed.begin(), s.owed.end(), [&](const Owed& o) { return o.call == call.id; });
  if (first == s.owed.end()) return;
  // The reply may be the first attempt's, late: the station may take that long. The replies
  // still owed to the later attempts stay in doubt: the first one may have been lost, or they
  // may come later still.
  const Clock::duration wait = seen - first->sent;
  s.owed.erase(s.owed.begin(), first + 1);
  learn(s, wait);
}

bool OwedReplies::thrownAway(int station, uint8_t function, int bytes, Clock::time_point seen,
                             Clock::time_point now) {
  Station& s = at(station);
  purge(s, now);
  const auto owner = std::find_if(s.owed.begin(), s.owed.end(),
                                  [&](const Owed& o) { return fits(o, function, bytes); });
  if (owner == s.owed.end()) return false;
  s.answered = true;
  const Clock::duration wait = seen - owner->sent;
  s.owed.erase(s.owed.begin(), owner + 1);
  learn(s, wait);
  return true;
}

void OwedReplies::ended(const Call& call, bool answered, bool heard) {
  if (!answered && !heard) at(call.station).wait /= 2;
}

}  // namespace kvlink
