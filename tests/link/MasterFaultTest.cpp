// Every fault of a station against both masters: a clear failure code, nothing copied into the
// caller's buffer, and a good answer to the next request once the fault is gone.

#include <gtest/gtest.h>
#include <poll.h>

#include <array>
#include <chrono>
#include <thread>

#include "Pty.h"
#include "TestLine.h"
#include "link/LinkErrors.h"

namespace kvlink::test {
namespace {

using sim::Fault;
using sim::FaultKind;
using sim::Protocol;

constexpr uint16_t kUntouched = 0xDEAD;
constexpr int kStation = 2;

struct FaultCase {
  FaultKind kind;
  const char* name;
};

class MasterFaultTest : public ::testing::TestWithParam<std::tuple<Protocol, FaultCase>> {
 protected:
  void SetUp() override {
    line_ = std::make_unique<TestLine>(std::get<0>(GetParam()));
    ASSERT_TRUE(line_->started());
    ASSERT_EQ(line_->open(0), kLinkOk);
    buffer_.fill(kUntouched);
  }

  Fault faultFor(FaultKind kind, bool write) const {
    Fault f{kind};
    // Late replies come after the master has given up, while it makes the next request.
    f.late = line_->giveUpTime(write) + (line_->modbus() ? 5ms : 20ms);
    return f;
  }

  std::unique_ptr<TestLine> line_;
  std::array<uint16_t, kReadBufferWords> buffer_{};
};

// The code a request gets while the station shows `kind`.
int expectedCode(FaultKind kind, bool modbus) {
  switch (kind) {
    case FaultKind::Duplicate:     // the first copy answers, the second is dropped
    case FaultKind::ForeignFirst:  // the other station's frame is dropped, ours answers
    case FaultKind::NoiseFirst:    // the stray byte is dropped, the reply behind it answers
      return kLinkOk;
    case FaultKind::Exception:
      return modbus ? kInvalidValue     // exception 02
                    : kIllegalCommand;  // STS 0x10
    default:
      return kNoAnswer;
  }
}

TEST_P(MasterFaultTest, ReadFailsCleanlyThenRecovers) {
  const FaultKind kind = std::get<1>(GetParam()).kind;
  TestLine& line = *line_;
  line.sim().setFault(kStation, faultFor(kind, false));

  const int code = line.read(buffer_.data(), kReadBufferWords, kStation, 24, 19);
  // A late reply may be taken by the retry of its own request: that request's answer.
  EXPECT_TRUE(code == expectedCode(kind, line.modbus()) || (kind == FaultKind::Late && !code));
  if (code == kLinkOk) {
    EXPECT_EQ(words(buffer_.data(), 19), line.sim().regs(kStation, 24, 19));
  } else {
    for (uint16_t w : buffer_) ASSERT_EQ(w, kUntouched);
  }

  if (kind == FaultKind::Duplicate) {
    // On a real line the second copy follows the first at once; give the simulator's thread
    // the time to put it on the line, so that it is in the input when the next request goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  line.sim().clearFault(kStation);
  // The next request has the same length as the failed one but other registers: a stale
  // reply to the failed request would show here.
  EXPECT_EQ(line.read(buffer_.data(), kReadBufferWords, kStation, 0, 19), kLinkOk);
  EXPECT_EQ(words(buffer_.data(), 19), line.sim().regs(kStation, 0, 19));
  EXPECT_EQ(line.read(buffer_.data(), kReadBufferWords, kStation, 24, 19), kLinkOk);
  EXPECT_EQ(words(buffer_.data(), 19), line.sim().regs(kStation, 24, 19));
}

TEST_P(MasterFaultTest, WriteFailsCleanlyThenRecovers) {
  const FaultKind kind = std::get<1>(GetParam()).kind;
  TestLine& line = *line_;
  line.sim().setFault(kStation, faultFor(kind, true));
  const int code = line.write(kStation, 6, 44);
  EXPECT_TRUE(code == expectedCode(kind, line.modbus()) || (kind == FaultKind::Late && !code));
  line.sim().clearFault(kStation);
  // Same register, another value: a stale echo of the first write would not fit.
  EXPECT_EQ(line.write(kStation, 6, 45), kLinkOk);
  EXPECT_EQ(line.sim().reg(kStation, 6), 45);
}

const FaultCase kFaults[] = {
    {FaultKind::Silent, "Silent"},
    {FaultKind::BadCheck, "BadCheck"},
    {FaultKind::Truncated, "Truncated"},
    {FaultKind::Garbage, "Garbage"},
    {FaultKind::Late, "Late"},
    {FaultKind::WrongStation, "WrongStation"},
    {FaultKind::Exception, "Exception"},
    {FaultKind::Duplicate, "Duplicate"},
    {FaultKind::ForeignFirst, "ForeignFirst"},
    {FaultKind::NoiseFirst, "NoiseFirst"},
};

INSTANTIATE_TEST_SUITE_P(Faults, MasterFaultTest,
                         ::testing::Combine(::testing::Values(Protocol::Modbus, Protocol::Df1Crc,
                                                              Protocol::Df1Bcc),
                                            ::testing::ValuesIn(kFaults)),
                         [](const auto& info) {
                           return protocolName(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param).name;
                         });

class MasterRecoveryTest : public ::testing::TestWithParam<Protocol> {};

TEST_P(MasterRecoveryTest, RetryRidesOverOneBadReply) {
  TestLine line(GetParam());
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(1), kLinkOk);
  std::array<uint16_t, kReadBufferWords> buffer{};
  for (FaultKind kind :
       {FaultKind::Silent, FaultKind::BadCheck, FaultKind::Truncated, FaultKind::WrongStation}) {
    Fault once{kind};
    once.count = 1;
    line.sim().setFault(3, once);
    buffer.fill(kUntouched);
    EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 3, 24, 19), kLinkOk)
        << static_cast<int>(kind);
    EXPECT_EQ(words(buffer.data(), 19), line.sim().regs(3, 24, 19));
  }
  if (line.modbus()) return;
  // DF1: two bad copies of the reply are NAKed and the third taken, all for the one command.
  Fault twice{FaultKind::BadCheck};
  twice.count = 2;
  line.sim().setFault(3, twice);
  const int commands = line.sim().requestCount(3);
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 3, 24, 19), kLinkOk);
  EXPECT_EQ(line.sim().requestCount(3), commands + 1);
}

TEST_P(MasterRecoveryTest, ReplyAfterTheTimeOutIsNeverTakenForAnotherRequest) {
  TestLine line(GetParam());
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(2), kLinkOk);
  Fault late{FaultKind::Late};
  late.late = line.lastReplyTime() + 5ms;
  line.sim().setFault(1, late);
  std::array<uint16_t, kReadBufferWords> buffer;
  buffer.fill(kUntouched);
  const int code = line.read(buffer.data(), kReadBufferWords, 1, 24, 19);
  const bool taken = code == kLinkOk;  // by a retry, as the answer to its own request
  EXPECT_EQ(code, taken ? kLinkOk : kNoAnswer);
  for (int i = 0; i < kReadBufferWords; ++i) {
    ASSERT_EQ(buffer[i], taken && i < 19 ? line.sim().reg(1, 24 + i) : kUntouched);
  }
  if (line.modbus() && !taken) {
    EXPECT_EQ(line.sim().requestCount(1), 3);  // the retries went out
  }
  line.sim().clearFault(1);
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 0, 19), kLinkOk);
  EXPECT_EQ(words(buffer.data(), 19), line.sim().regs(1, 0, 19));
}

TEST_P(MasterRecoveryTest, LineThatGoesAwayFailsAndRecoversByItselfOnceItIsBack) {
  TestLine line(GetParam());
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(1), kLinkOk);
  std::array<uint16_t, kReadBufferWords> buffer;
  buffer.fill(kUntouched);
  line.sim().vanish();
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 4, 24, 19), kPortFailed);
  EXPECT_EQ(line.write(4, 6, 40), kPortFailed);
  for (uint16_t w : buffer) ASSERT_EQ(w, kUntouched);

  // Still gone: every call keeps failing, and trying again costs no time-out.
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 4, 24, 19), kPortFailed);

  // Back: the next call opens the device again by itself.
  ASSERT_TRUE(line.sim().restore());
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 4, 24, 19), kLinkOk);
  EXPECT_EQ(words(buffer.data(), 19), line.sim().regs(4, 24, 19));
  EXPECT_EQ(line.write(4, 6, 41), kLinkOk);
  EXPECT_EQ(line.sim().reg(4, 6), 41);

  // Closing and opening still works as before.
  EXPECT_EQ(line.close(), kLinkOk);
  ASSERT_EQ(line.open(1), kLinkOk);
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 4, 24, 19), kLinkOk);
}

INSTANTIATE_TEST_SUITE_P(Protocols, MasterRecoveryTest,
                         ::testing::Values(Protocol::Modbus, Protocol::Df1Crc, Protocol::Df1Bcc),
                         [](const auto& info) { return protocolName(info.param); });

// Every reply 30 to 90 ms past a four-word read's time-out: reads of two blocks in turn fail or
// get their own block's words, never the other block's.
TEST(ModbusLine, ReplyUpToOneTimeOutLateIsNeverTakenForAnotherRead) {
  TestLine line(Protocol::Modbus);
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(kShellRetryCount), kLinkOk);
  for (int reg : {0, 1, 2, 3, 24, 25, 26, 27}) line.sim().setReg(1, reg, uint16_t(1000 + reg));
  Fault late{FaultKind::Late};
  late.late = 350ms;
  late.lateSpread = 60ms;
  line.sim().setFault(1, late);
  int answered = 0;
  for (int reg : {24, 0, 24, 0, 24, 0, 24, 0}) {
    std::array<uint16_t, 4> buffer{};
    if (line.read(buffer.data(), 4, 1, reg, 4) != kLinkOk) continue;
    ++answered;
    EXPECT_EQ(words(buffer.data(), 4), line.sim().regs(1, reg, 4)) << "R" << reg;
  }
  EXPECT_GT(answered, 0);
}

// The master with one retry, by default with the program's own time-outs, on a late station:
// registers 24..26 and 27..29 differ, so a reply taken for the other request would show.
class LateStationLine : public TestLine {
 public:
  explicit LateStationLine(LinkTiming timing = {}) : TestLine(Protocol::Modbus) {
    link().setTiming(timing);
    for (int reg = 24; reg < 31; ++reg) sim().setReg(1, reg, uint16_t(100 * reg));
    EXPECT_TRUE(started() && open(kShellRetryCount) == kLinkOk);
  }
  void late(std::chrono::milliseconds delay, std::chrono::milliseconds spread = 0ms,
            int percent = 100) {
    sim().setFault(
        1, {.kind = FaultKind::Late, .late = delay, .lateSpread = spread, .latePercent = percent});
  }
  // Reads three words at `reg`: true when the read succeeded; a wrong word fails the test.
  bool readOwn(int reg, int station = 1) {
    std::array<uint16_t, 3> buffer{};
    if (read(buffer.data(), 3, station, reg, 3) != kLinkOk) return false;
    EXPECT_EQ(words(buffer.data(), 3), sim().regs(station, reg, 3)) << "R" << reg;
    return true;
  }
};

// A fixed delay swept from 40 to 700 ms: no read gets the other's words; after a few, all answer.
TEST(ModbusLateStation, FixedDelaySweptFrom40To700Ms) {
  LateStationLine line;
  for (auto delay : {40ms, 120ms, 250ms, 400ms, 700ms}) {
    line.late(delay);
    int lastAnswered = 0;
    for (int i = 0; i < 8; ++i) lastAnswered += line.readOwn(i % 2 ? 27 : 24) && i >= 4;
    EXPECT_GE(lastAnswered, 3) << delay.count() << " ms: of the last four reads";
  }
}

// Random delays, some replies late: reads in turn never get each other's words, and R137 = R27 | 8
// written after one-word reads of R24 and R27 (as auto retrieve does) is never built from R24.
TEST(ModbusLateStation, RandomDelayAndSomeRepliesLate) {
  for (const auto& [delay, spread, percent] : {std::tuple{40ms, 460ms, 100}, {120ms, 380ms, 30}}) {
    LateStationLine line;
    line.late(delay, spread, percent);
    int answered = 0;
    for (int i = 0; i < 16; ++i) answered += line.readOwn(i % 2 ? 27 : 24);
    EXPECT_GE(answered, 8);
    int written = 0;
    for (int i = 0; i < 6; ++i) {
      line.sim().setReg(1, 137, 0);
      std::array<uint16_t, 1> word{};
      written += line.read(word.data(), 1, 1, 24, 1) == kLinkOk &&
                 line.read(word.data(), 1, 1, 27, 1) == kLinkOk &&
                 line.write(1, 137, word[0] | 8) == kLinkOk;
      const uint16_t r137 = line.sim().reg(1, 137);
      EXPECT_TRUE(r137 == 0 || r137 == (2700 | 8)) << r137;
    }
    EXPECT_GE(written, 3);
  }
}

// Replies after the time-out: a write's finishes it, not sent again; read in turn with three other
// stations as the network scan does, nothing is sent while its reply is still to come.
TEST(ModbusLateStation, LateRepliesFinishTheirRequestAndNothingIsSentWhileOneIsDue) {
  LateStationLine line(testTiming());
  ASSERT_TRUE(line.readOwn(24));
  line.late(400ms);
  const int requests = line.sim().requestCount(1);
  EXPECT_EQ(line.write(1, 137, 5), kLinkOk);
  EXPECT_EQ(line.sim().requestCount(1), requests + 1);
  line.late(500ms);
  for (int i = 0; i < 3; ++i) line.readOwn(24);
  const int before = line.sim().sentWhileReplyDue();
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(line.readOwn(24, i % 4 + 1)) << "station " << i % 4 + 1;
  EXPECT_EQ(line.sim().sentWhileReplyDue(), before);
}

// Measured at the unit's end of the line: every request starts at least 3.5 characters of 11
// bits (4.01 ms at 9600 baud) after the last byte of the reply before it.
TEST(ModbusLine, RequestFollowsTheReplyBeforeItAfterThreeAndAHalfCharacters) {
  using Clock = std::chrono::steady_clock;
  sim::Pty pty;
  ASSERT_TRUE(pty.open());
  SerialLinkLibrary link([&](int) { return pty.slavePath(); });
  ASSERT_EQ(link.CommOpen(kPort, 96), kLinkOk);
  std::vector<Clock::duration> gaps;
  std::thread unit([&] {
    Clock::time_point replied;
    for (int i = 0; i < 6; ++i) {
      std::array<uint8_t, 8> request{};
      Clock::time_point start;
      for (size_t got = 0; got < request.size();) {
        pollfd p{pty.master(), POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) return;
        const ssize_t n = ::read(pty.master(), request.data() + got, request.size() - got);
        if (n > 0 && got == 0) start = Clock::now();
        got += n > 0 ? size_t(n) : 0;
      }
      if (i > 0) gaps.push_back(start - replied);
      // Before the reply goes out: a unit thread held up after its write cannot shorten the gap.
      replied = Clock::now();
      ASSERT_EQ(::write(pty.master(), request.data(), request.size()), 8);  // a write's echo
    }
  });
  for (int i = 0; i < 6; ++i) EXPECT_EQ(link.WriteInfo(kPort, 1, 6, 100 + i), kLinkOk);
  unit.join();
  ASSERT_EQ(gaps.size(), 5u);
  for (auto gap : gaps) EXPECT_GE(gap, 4010us);
}

}  // namespace
}  // namespace kvlink::test
