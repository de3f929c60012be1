// The reply wait a Modbus master learns from a station: after slow replies, calls the station
// leaves unanswered bring the time-out back down.

#include <gtest/gtest.h>

#include "link/LinkTiming.h"
#include "link/OwedReplies.h"

namespace kvlink::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::microseconds;

constexpr int kStation = 1;
constexpr uint8_t kRead = 3;
constexpr int kReplyBytes = 13;  // four words

// The time-out of a four-word read the master gives the station, by what it has learned.
microseconds readTimeout(const OwedReplies& owed) {
  return modbusLearnedTimeout(9600, 8, kReplyBytes,
                              std::chrono::duration_cast<microseconds>(owed.replyWait(kStation)),
                              kLongestLearnedTimeout, LinkTiming{});
}

// A station that answered 700 ms late and then went silent: each call it leaves unanswered
// shortens its time-out, until it has the usual one again.
TEST(OwedRepliesWait, SilentCallsBringTheTimeOutBackDown) {
  OwedReplies owed;
  OwedReplies::Clock::time_point now{};
  uint64_t calls = 0;
  const auto call = [&](bool answered) {
    const OwedReplies::Call c{kStation, ++calls, kRead, kReplyBytes};
    owed.sent(c, now, readTimeout(owed));
    if (answered) owed.taken(c, kRead, kReplyBytes, now + 700ms);
    owed.ended(c, answered, answered);
    now += 3s;
  };
  for (int i = 0; i < 3; ++i) call(true);
  const microseconds usual = modbusTimeout(9600, 8, kReplyBytes, LinkTiming{});
  microseconds before = readTimeout(owed);
  ASSERT_GT(before, 700ms);
  for (int i = 0; i < 6 && before > usual; ++i) {
    call(false);
    EXPECT_LT(readTimeout(owed), before) << "silent call " << i;
    before = readTimeout(owed);
  }
  EXPECT_EQ(before, usual);
}

}  // namespace
}  // namespace kvlink::test
