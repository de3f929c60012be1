#pragma once
// The replies a Modbus RTU master may still get, per station. RTU frames carry no transaction
// number, but a station answers its requests one at a time, in the order they came: a frame of
// a station is the reply to its oldest request still owed that the frame fits (same function
// and length, or an exception of that function); older ones it passed were lost.
//
// A request sent stays owed until its reply comes, or
//  - for the line, until it is due no longer (`due`): before that no request of another call
//    goes to any station, so that two replies never meet on the line (a retry goes out while
//    the replies to its own call's earlier attempts are still due). The request's time-out and
//    a quarter more after it was sent for a station that has answered since the port was
//    opened; only the time-out for one that never has (a missing station costs the network scan
//    nothing more);
//  - for its station, until it is past doubt (`doubt`): until then a frame of the station that
//    fits it may be its reply. kReplyDoubt after it was sent, or twice the station's time-out
//    or learned reply wait if that is longer. The earlier attempts of a call stay in doubt
//    while its later ones are: a call's replies come in order too.
// A reply is taken as the answer to a call only when no request of an earlier call could
// have had it, and not when it comes far sooner than the station has lately answered while a
// request given up for lost may still be answered: then the call waits until the station owes
// nothing and asks again.
//
// How long a station takes to answer is learned from its last kRecentReplies replies, taken or
// thrown away (at most kLongestReplyWait): a slow station's time-out covers what it showed, so
// that its replies come in time again, and comes back down once it answers on time again. A
// call that got nothing from its station halves what was learned.

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace kvlink {

inline constexpr std::chrono::milliseconds kLongestReplyWait{1000};
// The longest time-out learned from that: the wait, a quarter more, the reply's wire time.
inline constexpr std::chrono::milliseconds kLongestLearnedTimeout{1500};
inline constexpr std::chrono::milliseconds kReplyDoubt{1200};
inline constexpr int kRecentReplies = 8;

// The longest of the last kRecentReplies reply times of a station, at most kLongestReplyWait.
class RecentReplyWaits {
 public:
  using Duration = std::chrono::steady_clock::duration;
  // True when `wait` is longer than any of the recent ones.
  bool add(Duration wait);
  void halve();
  Duration longest() const { return longest_; }

 private:
  std::array<Duration, kRecentReplies> waits_{};
  int next_ = 0;
  Duration longest_{0};
};

class OwedReplies {
 public:
  using Clock = std::chrono::steady_clock;

  // One call (a read or a write, with its retries) of the master.
  struct Call {
    int station;
    uint64_t id;
    uint8_t function;
    int replyBytes;  // the length of its normal reply, CRC included
  };

  // What a sound frame of a call's station is to the call.
  enum class Pairing {
    Answer,   // the reply to one of its requests
    NotOurs,  // the reply to an earlier call's request, or to none owed
    InDoubt,  // it fits the call, but may be the late reply to a request given up for lost
  };

  void clear() { stations_ = {}; }

  bool hasAnswered(int station) const { return at(station).answered; }
  // The longest time from a request to the first byte of its reply the station has lately shown.
  Clock::duration replyWait(int station) const { return at(station).waits.longest(); }

  // A request of `call` went out at `sent`, with `timeout` for its reply.
  void sent(const Call& call, Clock::time_point sent, Clock::duration timeout);

  // The time from which a request of `call` may go out: every owed reply of another call is due
  // no longer, and none its station owes an earlier call would fit it; with `waitOwn`, the
  // call's own ones are past doubt (due no longer, for a station that has never answered); with
  // `stationIdle`, its station owes nothing at all.
  Clock::time_point clearAt(const Call& call, bool waitOwn, bool stationIdle,
                            Clock::time_point now);

  // True when a request of `station` whose normal reply has this function and length is owed,
  // or was given up for lost lately.
  bool owes(int station, uint8_t function, int replyBytes, Clock::time_point now);

  // What a sound frame of `call`'s station (its function byte, `bytes` long with the CRC),
  // whose first byte came at `seen`, is to `call`. InDoubt takes it for the late reply to a
  // request given up for lost.
  Pairing pairing(const Call& call, uint8_t function, int bytes, Clock::time_point seen,
                  Clock::time_point now);
  // The frame seen at `seen` was taken as the answer to `call`.
  void taken(const Call& call, uint8_t function, int bytes, Clock::time_point seen);
  // A sound frame of `station` that was not taken, which came no sooner than `seen`: the reply to
  // the oldest request owed that it fits, if any. True when it was one.
  bool thrownAway(int station, uint8_t function, int bytes, Clock::time_point seen,
                  Clock::time_point now);
  // `call` has ended; `answered` when it took a reply, `heard` when its station sent anything.
  void ended(const Call& call, bool answered, bool heard);

 private:
  struct Owed {
    uint64_t call;
    uint8_t function;
    int replyBytes;
    Clock::time_point sent, due, doubt;
  };
  // A request given up for lost at its doubt: until `until`, a frame that fits it may still be
  // its reply.
  struct Lost {
    uint8_t function;
    int replyBytes;
    Clock::time_point sent, until;
  };
  struct Station {
    bool answered = false;
    RecentReplyWaits waits;
    std::vector<Owed> owed;  // oldest first; a few at most
    std::vector<Lost> lost;
  };

  Station& at(int station) { return stations_[static_cast<uint8_t>(station)]; }
  const Station& at(int station) const { return stations_[static_cast<uint8_t>(station)]; }
  static void purge(Station& s, Clock::time_point now);
  static void resolve(Station& s, std::vector<Owed>::iterator owner, Clock::time_point seen);

  std::array<Station, 256> stations_{};
};

}  // namespace kvlink
