#pragma once
// A simulated line of four units (stations 1..4 of types 0, 1, 2, 4) and a link library whose
// COM1 is that line, with short time-outs. Reads and writes here take register numbers and
// turn them into the addressing of the protocol in use.

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "UnitSimulator.h"
#include "link/Df1Pdu.h"
#include "link/LinkTiming.h"
#include "link/SerialLinkLibrary.h"
#include "link/UnitIo.h"

namespace kvlink::test {

using namespace std::chrono_literals;

inline constexpr int kPort = 1;

// The guard is wide enough for a late reply of the simulator's thread to fall into the quiet wait
// after a failed Modbus attempt on a busy machine.
inline LinkTiming testTiming() {
  LinkTiming t;
  t.turnaround = 300ms;  // ten times what the simulator needs on a busy machine
  t.guard = 20ms;
  return t;
}

inline std::string protocolName(sim::Protocol p) {
  switch (p) {
    case sim::Protocol::Modbus:
      return "Modbus";
    case sim::Protocol::Df1Crc:
      return "Df1Crc";
    case sim::Protocol::Df1Bcc:
      return "Df1Bcc";
  }
  return "?";
}

// A fresh symbolic link name for the line, so that it can vanish and come back.
inline std::string uniqueLinkPath() {
  static std::atomic<int> counter{0};
  return (std::filesystem::temp_directory_path() /
          ("kvlink-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter)))
      .string();
}

class TestLine {
 public:
  explicit TestLine(sim::Protocol protocol, bool pace = false, int baud = 9600)
      : protocol_(protocol),
        baud_(baud),
        sim_(sim::SimOptions{protocol, baud, pace, uniqueLinkPath()}),
        link_([this](int port) { return port == kPort ? sim_.devicePath() : std::string(); }) {
    sim_.addStation(1, 0);
    sim_.addStation(2, 1);
    sim_.addStation(3, 2);
    sim_.addStation(4, 4);
    sim_.setFrozen(true);
    started_ = sim_.start();
    link_.setTiming(testTiming());
  }

  bool started() const { return started_; }
  bool modbus() const { return protocol_ == sim::Protocol::Modbus; }
  sim::UnitSimulator& sim() { return sim_; }
  SerialLinkLibrary& link() { return link_; }

  int open(int retries = 0) {
    if (modbus()) {
      link_.SetRetry(retries);
      return link_.CommOpen(kPort, baud_ / 100);
    }
    link_.abSetRetry(retries);
    link_.abSetCheckMode(protocol_ == sim::Protocol::Df1Bcc ? 1 : 0);
    return link_.abCommOpen(kPort, baud_ / 100);
  }
  int close() { return modbus() ? link_.CommClose(kPort) : link_.abCommClose(kPort); }

  // The address and count ReadUnit/WriteUnit take for register `reg` in this protocol.
  int address(int reg) const { return modbus() ? reg : 256 + 2 * reg; }
  int count(int words) const { return modbus() ? words : 2 * words; }

  int read(uint16_t* buffer, int bufferWords, int station, int reg, int words) {
    return ReadUnit(link_, modbus(), buffer, bufferWords, kPort, station, address(reg),
                    count(words));
  }
  int write(int station, int reg, int32_t value) {
    return WriteUnitCall(link_, modbus(), kPort, station, address(reg), value);
  }

  // How long after its request an attempt of a silent station is given up: a read of 19
  // registers or a write. Modbus: the attempt's time-out. DF1: the wait for the ACK plus the
  // wait after the ENQ.
  std::chrono::milliseconds giveUpTime(bool write) const {
    const LinkTiming t = testTiming();
    if (modbus()) return ms(modbusTimeout(9600, 8, write ? 8 : 43, t));
    return ms(df1Timeout(9600, df1FrameBytes(write ? 10 : 9, check()), 2, t) +
              df1Timeout(9600, 2, 2, t));
  }

  // The latest a reply to a read of 19 registers is still taken after its request. Modbus: the
  // attempt's time-out. DF1: the wait for the ACK plus the wait for the reply.
  std::chrono::milliseconds lastReplyTime() const {
    const LinkTiming t = testTiming();
    if (modbus()) return ms(modbusTimeout(9600, 8, 43, t));
    return ms(df1Timeout(9600, df1FrameBytes(9, check()), 2, t) +
              df1Timeout(9600, 2, df1FrameBytes(2 * (6 + 38), check()), t));
  }

 private:
  Df1Check check() const {
    return protocol_ == sim::Protocol::Df1Bcc ? Df1Check::Bcc : Df1Check::Crc;
  }
  template <typename D>
  static std::chrono::milliseconds ms(D d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d);
  }

  sim::Protocol protocol_;
  int baud_;
  sim::UnitSimulator sim_;
  SerialLinkLibrary link_;
  bool started_ = false;
};

inline std::vector<uint16_t> words(const uint16_t* buffer, int count) {
  return std::vector<uint16_t>(buffer, buffer + count);
}

}  // namespace kvlink::test
