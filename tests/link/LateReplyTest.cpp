// A station answers late over the simulator as a paced delay line, the master with the program's
// time-outs and one retry, in all three modes: no read gets another request's words (past 1 s
// late, the first of a case at most); a write reaches the unit once and is reported done.

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "TestLine.h"
#include "link/LinkErrors.h"
#include "link/OwedReplies.h"

namespace kvlink::test {
namespace {

using sim::FaultKind;
using sim::Protocol;
using std::chrono::microseconds;
using std::chrono::milliseconds;

enum Read { Wrong = -1, Failed = 0, Right = 1 };

class LateLine : public TestLine {
 public:
  explicit LateLine(Protocol protocol) : TestLine(protocol, true) {
    link().setTiming(LinkTiming{});
    for (int reg = 24; reg < 31; ++reg) sim().setReg(1, reg, uint16_t(100 * reg));
    EXPECT_TRUE(started() && open(kShellRetryCount) == kLinkOk);
  }
  void late(milliseconds delay, milliseconds spread = 0ms, int percent = 100, int count = -1,
            int station = 1) {
    sim().setFault(station, {FaultKind::Late, count, delay, spread, percent});
  }
  Read read(int reg, int words = 3, int station = 1) {
    std::array<uint16_t, kReadBufferWords> buffer{};
    const int code = TestLine::read(buffer.data(), kReadBufferWords, station, reg, words);
    const std::vector<uint16_t> got(buffer.begin(), buffer.begin() + words);
    return code != kLinkOk ? Failed : got == sim().regs(station, reg, words) ? Right : Wrong;
  }
  // Same-length reads of R24 and R27 in turn.
  std::vector<Read> alternate(int reads) {
    std::vector<Read> results;
    for (int i = 0; i < reads; ++i) results.push_back(read(i % 2 ? 27 : 24));
    return results;
  }
};

// No wrong read, but the first of a case whose replies may come more than 1 s late.
void expectNoWrongRead(const std::vector<Read>& results, bool pastOneSecond) {
  for (size_t i = 0; i < results.size(); ++i) {
    EXPECT_TRUE(results[i] != Wrong || (pastOneSecond && i == 0)) << "read " << i;
  }
}

class LateReply : public ::testing::TestWithParam<std::tuple<Protocol, int>> {};

// Every reply late by the same time: once the master has seen how late (the reads of about a
// second), every read is right, including a reply that begins just before the time-out and ends
// after it.
TEST_P(LateReply, FixedDelay) {
  const milliseconds delay{std::get<1>(GetParam())};
  LateLine line(std::get<0>(GetParam()));
  line.late(delay);
  const std::vector<Read> results = line.alternate(9);
  expectNoWrongRead(results, delay > 1000ms);
  for (size_t i = 7; i < results.size(); ++i) EXPECT_EQ(results[i], Right) << "read " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Sweep, LateReply,
    ::testing::Combine(::testing::Values(Protocol::Modbus, Protocol::Df1Crc, Protocol::Df1Bcc),
                       ::testing::Values(20, 60, 150, 300, 600, 900, 1000, 1200)),
    [](const auto& info) {
      return protocolName(std::get<0>(info.param)) + "_" + std::to_string(std::get<1>(info.param));
    });

class LateStation : public ::testing::TestWithParam<Protocol> {};

// Random delays, and only some replies late: reads in turn never get each other's words, and
// R137 = R27 | 8 written after one-word reads of R24 and R27 (as auto retrieve does) is never
// built from R24.
TEST_P(LateStation, RandomAndPartialDelays) {
  for (const auto& [delay, spread, percent] :
       {std::tuple{0ms, 900ms, 100}, {100ms, 1100ms, 100}, {850ms, 0ms, 50}}) {
    LateLine line(GetParam());
    line.late(delay, spread, percent);
    const std::vector<Read> results = line.alternate(10);
    expectNoWrongRead(results, delay + spread > 1000ms);
    EXPECT_GE(std::count(results.begin(), results.end(), Right), 3) << delay.count();
    for (int i = 0; i < 3; ++i) {
      line.sim().setReg(1, 137, 0);
      std::array<uint16_t, 1> word{};
      if (line.TestLine::read(word.data(), 1, 1, 24, 1) == kLinkOk &&
          line.TestLine::read(word.data(), 1, 1, 27, 1) == kLinkOk) {
        line.write(1, 137, word[0] | 8);
      }
      const uint16_t r137 = line.sim().reg(1, 137);
      EXPECT_TRUE(r137 == 0 || r137 == (2700 | 8)) << r137;
    }
  }
}

// Remote Start to a contactor unit whose reply comes late: carried out once and reported done.
TEST_P(LateStation, RemoteStartRunsOnceAndIsReportedDone) {
  constexpr int kContactor = 3;
  LateLine line(GetParam());
  ASSERT_EQ(line.read(24, 3, kContactor), Right);
  for (auto delay : {100ms, 300ms, 900ms}) {
    line.late(delay, 0ms, 100, -1, kContactor);
    const int before = line.sim().commandsRun(kContactor);
    EXPECT_EQ(line.write(kContactor, 120, 7), kLinkOk) << delay.count();  // Remote Start
    EXPECT_EQ(line.sim().commandsRun(kContactor), before + 1) << delay.count();
  }
}

// What a station 800 ms late taught is forgotten once it answers on time again: ten replies on
// time later, a reply 150 ms late misses the first attempt's time-out and the retry goes out.
TEST_P(LateStation, LearnedWaitFollowsTheStationBackDown) {
  LateLine line(GetParam());
  line.late(800ms);
  line.alternate(4);
  line.sim().clearFault(1);
  expectNoWrongRead(line.alternate(10), false);
  line.late(150ms, 0ms, 100, 1);
  const int requests = line.sim().requestCount(1);
  EXPECT_NE(line.read(24), Wrong);
  EXPECT_EQ(line.sim().requestCount(1), requests + 2);
}

INSTANTIATE_TEST_SUITE_P(Protocols, LateStation,
                         ::testing::Values(Protocol::Modbus, Protocol::Df1Crc, Protocol::Df1Bcc),
                         [](const auto& info) { return protocolName(info.param); });

// A read given up for lost whose replies come 1.4 s late, then a read of another block of the
// same length as they come: the second read never gets the first one's words.
TEST(ModbusLateStation, ReadAfterOneGivenUpForLostNeverGetsItsLateWords) {
  for (int i = 0; i < 3; ++i) {
    LateLine line(Protocol::Modbus);
    line.late(1400ms, 0ms, 100, 1 + kShellRetryCount);  // the first read's attempts
    const auto first = std::chrono::steady_clock::now();
    EXPECT_EQ(line.read(24), Failed);
    std::this_thread::sleep_until(first + 1400ms);
    EXPECT_NE(line.read(27), Wrong) << "try " << i;
  }
}

// A DF1 relay that acknowledges at once and answers 300 ms later, read once a second, two blocks
// of four words in turn: the first read may fail, never be wrong; every one after it is right.
TEST(Df1LateRelay, ReadOnceASecondIsRightFromTheSecondRead) {
  for (Protocol protocol : {Protocol::Df1Crc, Protocol::Df1Bcc}) {
    LateLine line(protocol);
    line.late(300ms);
    for (int i = 0; i < 6; ++i, std::this_thread::sleep_for(1s))  // Wrong < Failed < Right
      EXPECT_GE(line.read(i % 2 ? 27 : 24, 4), i ? Right : Failed) << protocolName(protocol) << i;
  }
}

// A station that answered 700 ms late, then went silent: each call it leaves unanswered shortens
// the time-out of a four-word read, until it has the usual one again.
TEST(ModbusLateStation, SilentCallsBringTheTimeOutBackDown) {
  OwedReplies owed;
  const auto timeout = [&] {
    return modbusLearnedTimeout(9600, 8, 13, microseconds(owed.replyWait(1) / 1us),
                                kLongestLearnedTimeout, LinkTiming{});
  };
  const microseconds usual = modbusTimeout(9600, 8, 13, LinkTiming{});
  OwedReplies::Clock::time_point now{};
  for (uint64_t call = 1; call <= 9; ++call, now += 3s) {
    const auto before = timeout();
    const bool answered = call <= 3;
    owed.sent({1, call, 3, 13}, now, before);
    if (answered) owed.taken({1, call, 3, 13}, 3, 13, now + 700ms);
    owed.ended({1, call, 3, 13}, answered, answered);
    EXPECT_TRUE(answered ? timeout() > 700ms : timeout() < before || timeout() == usual) << call;
  }
  EXPECT_EQ(timeout(), usual);
}

// A late exception reply to a read of registers the unit does not have is never taken for the
// answer to the read of another length that follows it.
TEST(ModbusLateStation, LateExceptionIsNeverTakenForTheNextRead) {
  LateLine line(Protocol::Modbus);
  ASSERT_EQ(line.read(24), Right);
  line.late(300ms);
  for (int i = 0; i < 3; ++i) {
    line.read(6190);
    std::array<uint16_t, kReadBufferWords> buffer{};
    const int code = line.TestLine::read(buffer.data(), kReadBufferWords, 1, 24, 4);
    EXPECT_TRUE(code == kLinkOk || code == kNoAnswer) << code;
  }
}

}  // namespace
}  // namespace kvlink::test
