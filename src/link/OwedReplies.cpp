#include "link/OwedReplies.h"

#include <algorithm>

namespace kvlink {
namespace {

using Clock = OwedReplies::Clock;

constexpr uint8_t kExceptionFlag = 0x80;
// A reply this many times sooner than the station's learned wait is far sooner.
constexpr int kFarSooner = 3;

template <typename Owed>
bool fits(const Owed& o, uint8_t function, int bytes) {
  if ((function & ~kExceptionFlag) != o.function) return false;
  return (function & kExceptionFlag) != 0 || bytes == o.replyBytes;
}

}  // namespace

bool RecentReplyWaits::add(Duration wait) {
  wait = std::min<Duration>(wait, kLongestReplyWait);
  waits_[next_] = wait;
  next_ = (next_ + 1) % kRecentReplies;
  const Duration before = longest_;
  longest_ = *std::max_element(waits_.begin(), waits_.end());
  return longest_ > before;
}

void RecentReplyWaits::halve() {
  for (Duration& w : waits_) w /= 2;
  longest_ /= 2;
}

void OwedReplies::purge(Station& s, Clock::time_point now) {
  for (const Owed& o : s.owed) {
    if (o.doubt <= now) {
      s.lost.push_back({o.function, o.replyBytes, o.sent, o.doubt + (o.doubt - o.sent)});
    }
  }
  std::erase_if(s.owed, [&](const Owed& o) { return o.doubt <= now; });
  std::erase_if(s.lost, [&](const Lost& l) { return l.until <= now; });
}

// The frame seen at `seen` is the reply to `owner`; the requests before it were lost.
void OwedReplies::resolve(Station& s, std::vector<Owed>::iterator owner, Clock::time_point seen) {
  s.answered = true;
  const Clock::duration wait = seen - owner->sent;
  s.owed.erase(s.owed.begin(), owner + 1);
  if (!s.waits.add(wait)) return;
  // What is still owed may come as late as the station has now shown it can be.
  for (Owed& o : s.owed) o.doubt = std::max(o.doubt, o.sent + 2 * s.waits.longest());
}

void OwedReplies::sent(const Call& call, Clock::time_point sent, Clock::duration timeout) {
  Station& s = at(call.station);
  const Clock::time_point due = sent + (s.answered ? timeout + timeout / 4 : timeout);
  const Clock::time_point doubt =
      sent + std::max({Clock::duration(kReplyDoubt), 2 * timeout, 2 * s.waits.longest()});
  for (Owed& o : s.owed) {
    if (o.call == call.id) o.doubt = std::max(o.doubt, doubt);
  }
  s.owed.push_back({call.id, call.function, call.replyBytes, sent, due, doubt});
}

Clock::time_point OwedReplies::clearAt(const Call& call, bool waitOwn, bool stationIdle,
                                       Clock::time_point now) {
  Clock::time_point clear = now;
  for (int number = 0; number < static_cast<int>(stations_.size()); ++number) {
    Station& s = stations_[number];
    if (s.owed.empty()) continue;
    purge(s, now);
    for (const Owed& o : s.owed) {
      if (number == call.station && stationIdle) clear = std::max(clear, o.doubt);
      if (o.call == call.id) {
        if (waitOwn) clear = std::max(clear, s.answered ? o.doubt : o.due);
        continue;
      }
      clear = std::max(clear, o.due);
      if (number == call.station && o.call != call.id && fits(o, call.function, call.replyBytes)) {
        clear = std::max(clear, o.doubt);
      }
    }
  }
  return clear;
}

OwedReplies::Pairing OwedReplies::pairing(const Call& call, uint8_t function, int bytes,
                                          Clock::time_point seen, Clock::time_point now) {
  Station& s = at(call.station);
  purge(s, now);
  const auto owner = std::find_if(s.owed.begin(), s.owed.end(),
                                  [&](const Owed& o) { return fits(o, function, bytes); });
  if (owner == s.owed.end() || owner->call != call.id) return Pairing::NotOurs;
  const bool farSooner = kFarSooner * (seen - owner->sent) < s.waits.longest();
  const auto lost = std::find_if(s.lost.begin(), s.lost.end(),
                                 [&](const Lost& l) { return fits(l, function, bytes); });
  if (!farSooner || lost == s.lost.end()) return Pairing::Answer;
  // Taken for that request's reply: asked again, the call's own reply is told apart.
  s.lost.erase(lost);
  return Pairing::InDoubt;
}

bool OwedReplies::owes(int station, uint8_t function, int replyBytes, Clock::time_point now) {
  Station& s = at(station);
  purge(s, now);
  const auto same = [&](const auto& o) {
    return o.function == function && o.replyBytes == replyBytes;
  };
  return std::any_of(s.owed.begin(), s.owed.end(), same) ||
         std::any_of(s.lost.begin(), s.lost.end(), same);
}

void OwedReplies::taken(const Call& call, uint8_t function, int bytes, Clock::time_point seen) {
  Station& s = at(call.station);
  const auto owner = std::find_if(s.owed.begin(), s.owed.end(), [&](const Owed& o) {
    return o.call == call.id && fits(o, function, bytes);
  });
  // The reply may be the first attempt's, late: the station may take that long. The replies
  // still owed to the later attempts stay in doubt: the first one may have been lost, or they
  // may come later still.
  if (owner != s.owed.end()) resolve(s, owner, seen);
}

bool OwedReplies::thrownAway(int station, uint8_t function, int bytes, Clock::time_point seen,
                             Clock::time_point now) {
  Station& s = at(station);
  purge(s, now);
  const auto owner = std::find_if(s.owed.begin(), s.owed.end(),
                                  [&](const Owed& o) { return fits(o, function, bytes); });
  if (owner != s.owed.end()) {
    resolve(s, owner, seen);
    return true;
  }
  // The late reply to a request given up for lost: it still tells how long the station takes.
  const auto lost = std::find_if(s.lost.begin(), s.lost.end(),
                                 [&](const Lost& l) { return fits(l, function, bytes); });
  if (lost == s.lost.end()) return false;
  s.waits.add(seen - lost->sent);
  s.lost.erase(s.lost.begin(), lost + 1);
  return true;
}

void OwedReplies::ended(const Call& call, bool answered, bool heard) {
  if (!answered && !heard) at(call.station).waits.halve();
}

}  // namespace kvlink
