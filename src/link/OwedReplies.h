#pragma once
// The replies a Modbus RTU master may still get, per station. RTU frames carry no transaction
// number, but a station answers its requests one at a time, in the order they came: a frame of
// a station is the reply to its oldest request still owed that the frame fits (same function
// and length, or an exception of that function); older ones it passed were lost.
//
// A request sent stays owed until its reply comes, or
//  - for the line, until it is due no longer (`due`): before that no request goes to any
//    station, so that two replies never meet on the line. Twice the request's time-out after it
//    was sent for a station that has answered since the port was opened; only the time-out for
//    one that never has (a missing station costs the network scan nothing more);
//  - for its station, until it is past doubt (`doubt`): until then a frame of the station that
//    fits it may be its reply. A call to the station whose reply would fit it waits until then,
//    or until its reply came and was thrown away. kReplyDoubt after it was sent, or twice the
//    station's time-out if that is longer: also a retry's reply owed after its call took the
//    answer, since a station's replies need not come as late as each other.
// A reply is taken as the answer to a call only when no request of an earlier call could have
// had it.
//
// How long a station takes to answer is learned from the replies it gave, taken or thrown away
// (at most kLongestReplyWait): a slow station's time-out covers what it showed, so that its
// replies come in time again. A call that got nothing from its station halves what was learned.

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace kvlink {

inline constexpr std::chrono::milliseconds kLongestReplyWait{1000};
inline constexpr std::chrono::milliseconds kReplyDoubt{800};

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

  void clear() { stations_ = {}; }

  bool hasAnswered(int station) const { return at(station).answered; }
  // The longest time from a request to the first byte of its reply the station has shown.
  Clock::duration replyWait(int station) const { return at(station).wait; }

  // A request of `call` went out at `sent`, with `timeout` for its reply.
  void sent(const Call& call, Clock::time_point sent, Clock::duration timeout);

  // The time from which a request of `call` may go out: every owed reply is due no longer (the
  // call's own ones too when `waitOwn`), and none its station owes an earlier call would fit it.
  Clock::time_point clearAt(const Call& call, bool waitOwn, Clock::time_point now);

  // True when a sound frame of `call`'s station (its function byte, `bytes` long with the CRC)
  // can only be the reply to a request of `call`.
  bool onlyFor(const Call& call, uint8_t function, int bytes, Clock::time_point now);
  // The frame seen at `seen` was taken as the answer to `call`.
  void taken(const Call& call, Clock::time_point seen);
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
  struct Station {
    bool answered = false;
    Clock::duration wait{0};
    std::vector<Owed> owed;  // oldest first; a few at most
  };

  Station& at(int station) { return stations_[static_cast<uint8_t>(station)]; }
  const Station& at(int station) const { return stations_[static_cast<uint8_t>(station)]; }
  static void purge(Station& s, Clock::time_point now);
  static void learn(Station& s, Clock::duration wait);

  std::array<Station, 256> stations_{};
};

}  // namespace kvlink
