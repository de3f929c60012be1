// A program on a scripted host whose COM1 is a simulated line of relays over a
// pseudo-terminal, with every fault a line can show: the simulator's faults on
// one station and the device vanishing under the program. Shared by the fault
// matrices and the soak.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Program.h"
#include "ScriptedHost.h"
#include "UnitSimulator.h"

namespace kvlink::test {

enum class LineFault {
  Silent,        // the station answers nothing
  BadCheck,      // wrong CRC / BCC
  Truncated,     // half a reply
  Garbage,       // random bytes instead of the reply
  Late,          // the reply comes after the master has given up
  WrongStation,  // the reply names another station
  Exception,     // Modbus exception / DF1 STS reply
  Vanish,        // the device is gone (USB adapter unplugged)
};

struct LineFaultInfo {
  LineFault fault;
  const char* name;
};

inline constexpr LineFaultInfo kLineFaults[] = {
    {LineFault::Silent, "Silent"},       {LineFault::BadCheck, "BadCheck"},
    {LineFault::Truncated, "Truncated"}, {LineFault::Garbage, "Garbage"},
    {LineFault::Late, "Late"},           {LineFault::WrongStation, "WrongStation"},
    {LineFault::Exception, "Exception"}, {LineFault::Vanish, "Vanish"},
};

struct ProtocolInfo {
  sim::Protocol protocol;
  const char* name;
};

inline constexpr ProtocolInfo kProtocols[] = {
    {sim::Protocol::Modbus, "ModbusRTU"},
    {sim::Protocol::Df1Crc, "DF1_CRC"},
    {sim::Protocol::Df1Bcc, "DF1_BCC"},
};

const char* protocolName(sim::Protocol protocol);
const char* faultName(LineFault fault);

// The link code a request gets while `fault` is shown: 36 for anything that is
// not a valid answer, the exception's code, 42 for a port that went away.
int expectedCode(LineFault fault, sim::Protocol protocol);

// A cell of a fault matrix: every protocol with every fault.
class FaultMatrixCell : public ::testing::TestWithParam<std::tuple<ProtocolInfo, LineFaultInfo>> {
 protected:
  sim::Protocol protocol() const { return std::get<0>(GetParam()).protocol; }
  LineFault fault() const { return std::get<1>(GetParam()).fault; }
};

inline auto faultMatrixCells() {
  return ::testing::Combine(::testing::ValuesIn(kProtocols), ::testing::ValuesIn(kLineFaults));
}

inline std::string faultMatrixCellName(
    const ::testing::TestParamInfo<FaultMatrixCell::ParamType>& info) {
  return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
}

inline std::string yesNo(bool ok) {
  return ok ? "yes" : "NO";
}

class FaultLine {
 public:
  // A line at 9600 baud with the given stations (number, unit type), frozen
  // (meters and clocks stand still) unless `moving`.
  FaultLine(sim::Protocol protocol, const std::vector<std::pair<int, int>>& stations,
            bool moving = false);
  ~FaultLine();
  FaultLine(const FaultLine&) = delete;
  FaultLine& operator=(const FaultLine&) = delete;

  bool started() const { return started_; }
  bool modbus() const { return protocol_ == sim::Protocol::Modbus; }
  sim::Protocol protocol() const { return protocol_; }
  sim::UnitSimulator& sim() { return *sim_; }
  ScriptedHost& host() { return host_; }
  Program& program() { return *program_; }

  // Sets the link settings of the program for this line (COM1, 9600 baud, the
  // protocol and check) and opens the link as the program does; 0 when open.
  int openLink();

  // Makes `station` (or, for Vanish, the whole line) show `fault`, for every
  // request until cleared. A late reply comes after the master gave up a read
  // of 19 registers, or a write when `forWrite`.
  void inject(LineFault fault, int station, bool forWrite = false);
  // Ends the fault: the station answers again, a vanished line is back.
  void clear(LineFault fault, int station);

  // How long after its request the master gives up one attempt of a read of
  // 19 registers or of a write, with the program's time-outs.
  std::chrono::milliseconds giveUpTime(bool write) const;

 private:
  sim::Protocol protocol_;
  QTemporaryDir dir_;
  ScriptedHost host_;
  std::unique_ptr<sim::UnitSimulator> sim_;
  std::unique_ptr<Program> program_;
  bool started_ = false;
};

}  // namespace kvlink::test
