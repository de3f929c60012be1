// ReadUnit / WriteUnit: the choice of library, the arguments passed on unchanged, the
// addressing of both protocols against the simulated line, and the poll's two reads of every
// unit type.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "TestLine.h"
#include "link/LinkErrors.h"

namespace kvlink::test {
namespace {

using sim::Protocol;

// Records the calls that reach the libraries and answers with a set result.
class RecordingLink : public LinkLibrary {
 public:
  std::vector<std::string> calls;
  int result = 0;

  int CommOpen(int, int) override { return note("CommOpen"); }
  int CommClose(int) override { return note("CommClose"); }
  int SetRetry(int) override { return note("SetRetry"); }
  int rvx_ReadInfo(uint16_t* b, int n, int port, int station, int reg, int count) override {
    return note("rvx_ReadInfo", b, n, port, station, reg, count);
  }
  int WriteInfo(int port, int station, int reg, int32_t value) override {
    return note("WriteInfo", nullptr, 0, port, station, reg, value);
  }
  int abCommOpen(int, int) override { return note("abCommOpen"); }
  int abCommClose(int) override { return note("abCommClose"); }
  int abSetRetry(int) override { return note("abSetRetry"); }
  int abSetCheckMode(int) override { return note("abSetCheckMode"); }
  int abSendControl(int, int) override { return note("abSendControl"); }
  int abrvx_ReadInfo(uint16_t* b, int n, int port, int station, int address, int count) override {
    return note("abrvx_ReadInfo", b, n, port, station, address, count);
  }
  int abWriteInfo(int port, int station, int address, int32_t value) override {
    return note("abWriteInfo", nullptr, 0, port, station, address, value);
  }

  const uint16_t* lastBuffer = nullptr;

 private:
  int note(const char* name, uint16_t* b = nullptr, int n = 0, int a = 0, int c = 0, int d = 0,
           long e = 0) {
    lastBuffer = b;
    calls.push_back(std::string(name) + "(" + std::to_string(n) + "," + std::to_string(a) + "," +
                    std::to_string(c) + "," + std::to_string(d) + "," + std::to_string(e) + ")");
    return result;
  }
};

TEST(UnitIo, ChoosesTheLibraryAndPassesArgumentsOnUnchanged) {
  RecordingLink link;
  std::array<uint16_t, kReadBufferWords> buffer{};
  link.result = 36;
  EXPECT_EQ(ReadUnit(link, true, buffer.data(), kReadBufferWords, 2, 7, 24, 19), 36);
  EXPECT_EQ(link.lastBuffer, buffer.data());
  EXPECT_EQ(ReadUnit(link, false, buffer.data(), kReadBufferWords, 2, 7, 304, 38), 36);
  link.result = 0;
  EXPECT_EQ(WriteUnitCall(link, true, 3, 9, 120, 4), 0);
  EXPECT_EQ(WriteUnitCall(link, false, 3, 9, 496, 70000), 0);  // range checks are the library's
  EXPECT_EQ(link.calls,
            (std::vector<std::string>{"rvx_ReadInfo(41,2,7,24,19)", "abrvx_ReadInfo(41,2,7,304,38)",
                                      "WriteInfo(0,3,9,120,4)", "abWriteInfo(0,3,9,496,70000)"}));
}

class UnitIoLineTest : public ::testing::TestWithParam<Protocol> {
 protected:
  void SetUp() override {
    line_ = std::make_unique<TestLine>(GetParam());
    ASSERT_TRUE(line_->started());
    ASSERT_EQ(line_->open(kShellRetryCount), kLinkOk);
  }
  std::unique_ptr<TestLine> line_;
  std::array<uint16_t, kReadBufferWords> buffer_{};
};

TEST_P(UnitIoLineTest, PollReadsBothBlocksOfEveryUnitType) {
  TestLine& line = *line_;
  const std::array<std::pair<int, int>, 4> stations{{{1, 0}, {2, 1}, {3, 2}, {4, 4}}};
  for (const auto& [station, type] : stations) {
    // The poll: DF1 sends NAK before each read of the current station.
    if (!line.modbus()) {
      EXPECT_EQ(line.link().abSendControl(kPort, 21), kLinkOk);
    }
    ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, station, 24, 19), kLinkOk);
    EXPECT_EQ(words(buffer_.data(), 19), line.sim().regs(station, 24, 19));
    EXPECT_EQ(buffer_[15] >> 8, type);    // identification word, register 39
    EXPECT_EQ(buffer_[15] & 0x40, 0x40);  // data logger fitted
    if (!line.modbus()) {
      EXPECT_EQ(line.link().abSendControl(kPort, 21), kLinkOk);
    }
    ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, station, 0, 18), kLinkOk);
    EXPECT_EQ(words(buffer_.data(), 18), line.sim().regs(station, 0, 18));
  }
  // The network scan's read of registers 39..42.
  ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, 4, 39, 4), kLinkOk);
  EXPECT_EQ(words(buffer_.data(), 4), line.sim().regs(4, 39, 4));
}

TEST_P(UnitIoLineTest, WordsAreUnsignedLowByteFirst) {
  TestLine& line = *line_;
  line.sim().setReg(2, 24, 40000);
  line.sim().setReg(2, 25, 0x8001);
  line.sim().setReg(2, 26, 65535);
  ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, 2, 24, 3), kLinkOk);
  EXPECT_EQ(buffer_[0], 40000);
  EXPECT_EQ(buffer_[2], 65535);
  const auto* bytes = reinterpret_cast<const uint8_t*>(buffer_.data());
  EXPECT_EQ(bytes[2], 0x01);  // low byte first, as the caller's word array holds it
  EXPECT_EQ(bytes[3], 0x80);
}

TEST_P(UnitIoLineTest, LoggerRecordsUseTheirOwnDf1Address) {
  TestLine& line = *line_;
  line.sim().setReg(3, 192 + 24 * 249, 0x2024);
  line.sim().setReg(3, 192 + 24 * 249 + 17, 4321);
  for (int record : {0, 1, 249}) {
    const int reg = 192 + 24 * record;
    const int address = line.modbus() ? reg : 768 + 48 * record;
    const int count = line.modbus() ? 18 : 36;
    ASSERT_EQ(ReadUnit(line.link(), line.modbus(), buffer_.data(), kReadBufferWords, kPort, 3,
                       address, count),
              kLinkOk);
    EXPECT_EQ(words(buffer_.data(), 18), line.sim().regs(3, reg, 18)) << record;
  }
  EXPECT_EQ(buffer_[0], 0x2024);
  EXPECT_EQ(buffer_[17], 4321);
  // Record counter (138) and clock (128..131).
  ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, 3, 128, 11), kLinkOk);
  EXPECT_EQ(words(buffer_.data(), 11), line.sim().regs(3, 128, 11));
}

TEST_P(UnitIoLineTest, WritesReachTheRegisterAndFailuresCarryTheirCode) {
  TestLine& line = *line_;
  EXPECT_EQ(line.write(1, 5, 55), kLinkOk);
  EXPECT_EQ(line.sim().reg(1, 5), 55);
  EXPECT_EQ(line.write(1, 12, 65535), kLinkOk);
  EXPECT_EQ(line.sim().reg(1, 12), 65535);
  line.sim().setReg(2, 40, 0x41);
  EXPECT_EQ(line.write(2, 120, 1), kLinkOk);  // trip reset
  EXPECT_EQ(line.sim().reg(2, 40), 0);
  // A register the unit does not let us write, and a command code it does not know.
  const int readOnly = line.write(1, 39, 0);
  const int badCommand = line.write(1, 120, 9);
  EXPECT_EQ(readOnly, kInvalidValue);
  EXPECT_EQ(badCommand, kInvalidValue);
  EXPECT_EQ(writeErrorText(badCommand), "Write Error 37:Invalid Address, Size, or Value");
  // A station that is not on the line.
  EXPECT_EQ(line.write(9, 5, 1), kNoAnswer);
  EXPECT_EQ(writeErrorText(kNoAnswer), "Write Error 36:Information Not Available from unit");
}

// An unplugged line's device name leads nowhere, even once another line has taken it.
TEST_P(UnitIoLineTest, VanishedLineIsNotFoundOnTheNextLinesDevice) {
  TestLine& line = *line_;
  const std::string freed = line.sim().ptyPath();
  line.sim().vanish();
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(line.read(buffer_.data(), kReadBufferWords, 1, 24, 19), kPortFailed);
  TestLine next(GetParam());
  ASSERT_TRUE(next.started());
  if (next.sim().ptyPath() != freed) GTEST_SKIP() << "another process took " << freed;
  EXPECT_EQ(line.read(buffer_.data(), kReadBufferWords, 1, 24, 19), kPortFailed);
  EXPECT_EQ(next.sim().requestCount(1), 0);
}

// A line that takes the real time for every character, read with derived time-outs and the
// program's retry count, at the fastest and the slowest baud rate.
TEST_P(UnitIoLineTest, PacedLineAnswersWithinTheDerivedTimeOuts) {
  for (int baud : {9600, 1200}) {
    TestLine line(GetParam(), true, baud);
    ASSERT_TRUE(line.started());
    ASSERT_EQ(line.open(kShellRetryCount), kLinkOk);
    ASSERT_EQ(line.read(buffer_.data(), kReadBufferWords, 4, 24, 19), kLinkOk) << baud;
    EXPECT_EQ(words(buffer_.data(), 19), line.sim().regs(4, 24, 19));
  }
}

INSTANTIATE_TEST_SUITE_P(Protocols, UnitIoLineTest,
                         ::testing::Values(Protocol::Modbus, Protocol::Df1Crc, Protocol::Df1Bcc),
                         [](const auto& info) { return protocolName(info.param); });

}  // namespace
}  // namespace kvlink::test
