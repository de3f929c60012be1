// The calls of both libraries outside the normal exchange: ports that are not open or cannot
// be opened, arguments out of range, buffers too small, settings.

#include <gtest/gtest.h>

#include <array>

#include "TestLine.h"
#include "link/LinkErrors.h"

namespace kvlink::test {
namespace {

using sim::Protocol;

constexpr uint16_t kUntouched = 0xDEAD;

TEST(MasterCalls, EveryCallOnAPortThatIsNotOpenSaysSo) {
  SerialLinkLibrary link([](int) { return std::string("/nonexistent/tty"); });
  std::array<uint16_t, 4> buffer{};
  EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), 4, 1, 1, 0, 1), kPortNotOpen);
  EXPECT_EQ(link.WriteInfo(1, 1, 0, 1), kPortNotOpen);
  EXPECT_EQ(link.CommClose(1), kPortNotOpen);
  EXPECT_EQ(link.abrvx_ReadInfo(buffer.data(), 4, 2, 1, 256, 2), kPortNotOpen);
  EXPECT_EQ(link.abWriteInfo(3, 1, 256, 1), kPortNotOpen);
  EXPECT_EQ(link.abSendControl(4, 21), kPortNotOpen);
  EXPECT_EQ(link.abCommClose(4), kPortNotOpen);
  EXPECT_EQ(link.CommClose(9), kPortNotOpen);
}

TEST(MasterCalls, OpenFailsForMissingDevicesBadPortsAndBadBaudCodes) {
  TestLine line(Protocol::Modbus);
  ASSERT_TRUE(line.started());
  SerialLinkLibrary& link = line.link();
  EXPECT_EQ(link.CommOpen(2, 96), kPortOpenFailed);  // COM2 maps to nothing
  EXPECT_EQ(link.CommOpen(0, 96), kPortOpenFailed);
  EXPECT_EQ(link.CommOpen(5, 96), kPortOpenFailed);
  EXPECT_EQ(link.abCommOpen(1, 192), kPortOpenFailed);
  EXPECT_EQ(link.CommOpen(1, 0), kPortOpenFailed);
  for (int baudcode : {12, 24, 48, 96}) {
    EXPECT_EQ(link.CommOpen(1, baudcode), kLinkOk) << baudcode;
    EXPECT_EQ(link.CommClose(1), kLinkOk);
  }
  SerialLinkLibrary notATerminal([](int) { return std::string("/dev/null"); });
  EXPECT_EQ(notATerminal.CommOpen(1, 96), kPortOpenFailed);
}

TEST(MasterCalls, PortIsHeldExclusively) {
  TestLine line(Protocol::Modbus);
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(), kLinkOk);
  SerialLinkLibrary other([&](int) { return line.sim().devicePath(); });
  EXPECT_EQ(other.CommOpen(1, 96), kPortOpenFailed);
  EXPECT_EQ(line.link().abCommOpen(1, 96), kPortOpenFailed);  // the DF1 side of the same program
  EXPECT_EQ(line.close(), kLinkOk);
  EXPECT_EQ(other.abCommOpen(1, 96), kLinkOk);
  // Opening an open port again starts it afresh.
  EXPECT_EQ(other.abCommOpen(1, 48), kLinkOk);
}

class MasterArgumentTest : public ::testing::TestWithParam<Protocol> {};

TEST_P(MasterArgumentTest, OutOfRangeArgumentsAre37AndNeverReachTheLine) {
  TestLine line(GetParam());
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(), kLinkOk);
  std::array<uint16_t, kReadBufferWords + 1> buffer;
  buffer.fill(kUntouched);
  // An answer that would not fit the caller's buffer.
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 0, kReadBufferWords + 1), kInvalidValue);
  EXPECT_EQ(line.read(buffer.data(), 2, 1, 0, 3), kInvalidValue);
  EXPECT_EQ(line.read(nullptr, kReadBufferWords, 1, 0, 3), kInvalidValue);
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 0, 0), kInvalidValue);
  EXPECT_EQ(line.write(1, 5, -1), kInvalidValue);
  EXPECT_EQ(line.write(1, 5, 65536), kInvalidValue);
  EXPECT_EQ(line.write(1, 5, 70000), kInvalidValue);
  EXPECT_EQ(line.write(1, 70000, 1), kInvalidValue);  // beyond the 16-bit address range
  SerialLinkLibrary& link = line.link();
  if (line.modbus()) {
    EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), 200, kPort, 1, 0, 126), kInvalidValue);
    EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), 4, kPort, 0, 0, 1), kInvalidValue);
    EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), 4, kPort, 248, 0, 1), kInvalidValue);
    EXPECT_EQ(link.rvx_ReadInfo(buffer.data(), 4, kPort, 1, 65535, 2), kInvalidValue);
  } else {
    EXPECT_EQ(link.abrvx_ReadInfo(buffer.data(), 4, kPort, 1, 256, 3), kInvalidValue);
    EXPECT_EQ(link.abrvx_ReadInfo(buffer.data(), 200, kPort, 1, 256, 246), kInvalidValue);
    EXPECT_EQ(link.abrvx_ReadInfo(buffer.data(), 4, kPort, 255, 256, 2), kInvalidValue);
    EXPECT_EQ(link.abrvx_ReadInfo(buffer.data(), 4, kPort, 1, -2, 2), kInvalidValue);
  }
  for (uint16_t w : buffer) ASSERT_EQ(w, kUntouched);
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(line.sim().requestCount(s), 0);
  // The largest read that fits ReadBuffer works.
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 0, kReadBufferWords), kLinkOk);
  EXPECT_EQ(buffer[kReadBufferWords], kUntouched);
}

TEST_P(MasterArgumentTest, SettingsAreChecked) {
  TestLine line(GetParam());
  ASSERT_TRUE(line.started());
  SerialLinkLibrary& link = line.link();
  EXPECT_EQ(link.SetRetry(-1), kInvalidValue);
  EXPECT_EQ(link.SetRetry(kMaxRetryCount + 1), kInvalidValue);
  EXPECT_EQ(link.SetRetry(kShellRetryCount), kLinkOk);
  EXPECT_EQ(link.abSetRetry(-1), kInvalidValue);
  EXPECT_EQ(link.abSetRetry(kShellRetryCount), kLinkOk);
  EXPECT_EQ(link.abSetCheckMode(2), kInvalidValue);
  EXPECT_EQ(link.abSetCheckMode(-1), kInvalidValue);
  ASSERT_EQ(line.open(), kLinkOk);
  if (!line.modbus()) {
    EXPECT_EQ(link.abSendControl(kPort, 21), kLinkOk);
    EXPECT_EQ(link.abSendControl(kPort, 99), kInvalidValue);
  }
}

TEST(MasterCalls, Df1CheckModeMustMatchTheLine) {
  TestLine line(Protocol::Df1Bcc);
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.open(), kLinkOk);
  std::array<uint16_t, kReadBufferWords> buffer{};
  ASSERT_EQ(line.link().abSetCheckMode(0), kLinkOk);  // CRC against a BCC line
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 24, 19), kNoAnswer);
  ASSERT_EQ(line.link().abSetCheckMode(1), kLinkOk);
  EXPECT_EQ(line.read(buffer.data(), kReadBufferWords, 1, 24, 19), kLinkOk);
}

INSTANTIATE_TEST_SUITE_P(Protocols, MasterArgumentTest,
                         ::testing::Values(Protocol::Modbus, Protocol::Df1Crc, Protocol::Df1Bcc),
                         [](const auto& info) { return protocolName(info.param); });

}  // namespace
}  // namespace kvlink::test
