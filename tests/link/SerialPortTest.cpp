#include <gtest/gtest.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "Pty.h"
#include "link/ComDevice.h"
#include "link/SerialPort.h"

namespace kvlink {
namespace {

using namespace std::chrono_literals;

TEST(ComDevice, EnvironmentOverridesTheDefaultDevices) {
  for (int port = 1; port <= 4; ++port) {
    const std::string variable = "KVLINK_COM" + std::to_string(port);
    unsetenv(variable.c_str());
    EXPECT_EQ(comDevicePath(port), "/dev/ttyS" + std::to_string(port - 1));
    setenv(variable.c_str(), "/tmp/line", 1);
    EXPECT_EQ(comDevicePath(port), "/tmp/line");
    setenv(variable.c_str(), "", 1);
    EXPECT_EQ(comDevicePath(port), "/dev/ttyS" + std::to_string(port - 1));
    unsetenv(variable.c_str());
  }
  EXPECT_EQ(comDevicePath(0), "");
  EXPECT_EQ(comDevicePath(5), "");
  EXPECT_EQ(baudFromCode(96), 9600);
  EXPECT_EQ(baudFromCode(12), 1200);
  EXPECT_EQ(baudFromCode(192), 0);
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty_.open()); }
  void toPort(std::initializer_list<uint8_t> bytes) {
    const std::vector<uint8_t> v(bytes);
    ASSERT_EQ(::write(pty_.master(), v.data(), v.size()), ssize_t(v.size()));
  }
  sim::Pty pty_;
};

TEST_F(SerialPortTest, OpensRaw8N1AtTheBaudRate) {
  SerialPort port;
  ASSERT_EQ(port.open(pty_.slavePath(), 4800), SerialPort::OpenResult::Ok);
  termios tio{};
  ASSERT_EQ(tcgetattr(port.fd(), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B4800);
  EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), tcflag_t(0));
  EXPECT_EQ(tio.c_iflag & (IXON | ICRNL), tcflag_t(0));
  EXPECT_EQ(tio.c_oflag & OPOST, tcflag_t(0));
  EXPECT_EQ(SerialPort().open(pty_.slavePath(), 19200), SerialPort::OpenResult::BadBaud);
}

TEST_F(SerialPortTest, ReadsWhatArrivesAndTimesOut) {
  SerialPort port;
  ASSERT_EQ(port.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Ok);
  std::array<uint8_t, 16> buffer{};
  EXPECT_EQ(port.read(buffer.data(), buffer.size(), SerialPort::Clock::now() + 20ms), 0);
  toPort({0x0A, 0x0D, 0x11, 0x13});  // line ends and XON/XOFF pass untouched
  const int n = port.read(buffer.data(), buffer.size(), SerialPort::Clock::now() + 1s);
  ASSERT_EQ(n, 4);
  EXPECT_EQ(buffer[0], 0x0A);
  EXPECT_EQ(buffer[3], 0x13);
  toPort({1, 2, 3});
  std::this_thread::sleep_for(10ms);
  port.flushInput();
  EXPECT_EQ(port.read(buffer.data(), buffer.size(), SerialPort::Clock::now() + 20ms), 0);
}

TEST_F(SerialPortTest, OpenIsExclusive) {
  SerialPort first;
  SerialPort second;
  ASSERT_EQ(first.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Ok);
  EXPECT_EQ(second.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Busy);
  first.close();
  EXPECT_EQ(second.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Ok);
}

TEST_F(SerialPortTest, VanishedDeviceFailsCleanlyAndStaysFailedUntilReopened) {
  SerialPort port;
  ASSERT_EQ(port.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Ok);
  pty_.close();  // the adapter is pulled out
  std::array<uint8_t, 16> buffer{};
  EXPECT_EQ(port.read(buffer.data(), buffer.size(), SerialPort::Clock::now() + 1s), -1);
  EXPECT_TRUE(port.failed());
  EXPECT_FALSE(port.write(std::vector<uint8_t>{1, 2}));
  port.close();
  ASSERT_TRUE(pty_.open());  // plugged in again
  ASSERT_EQ(port.open(pty_.slavePath(), 9600), SerialPort::OpenResult::Ok);
  EXPECT_FALSE(port.failed());
  toPort({7});
  EXPECT_EQ(port.read(buffer.data(), buffer.size(), SerialPort::Clock::now() + 1s), 1);
}

}  // namespace
}  // namespace kvlink
