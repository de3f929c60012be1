// Link benchmarks over the simulated line (a pseudo-terminal):
//  1. round trip of the 19-word read, our Modbus master against pymodbus's client, on the same
//     simulator without pacing (ratio ours / pymodbus);
//  2. one poll's two reads (19 words from register 24, 18 from register 0) at 9600 baud with
//     the simulator pacing every character at the line rate, against their time on the wire
//     (ratio; target <= 1.10), both protocols;
//  3. what a station that does not answer costs one read, with the program's time-outs and
//     retry count.
//
//   bench_link [--reads N]

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "UnitSimulator.h"
#include "link/Df1Frame.h"
#include "link/LinkErrors.h"
#include "link/LinkTiming.h"
#include "link/SerialLinkLibrary.h"
#include "link/UnitIo.h"

namespace {

using namespace kvlink;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string runCapture(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe) != nullptr) out += chunk.data();
    pclose(pipe);
  }
  return out;
}

std::string pythonWithPymodbus() {
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    const std::string probe =
        std::string(candidate) + " -c 'import pymodbus, serial' >/dev/null 2>&1 && echo ok";
    if (runCapture(probe).rfind("ok", 0) == 0) return candidate;
  }
  return {};
}

struct Line {
  sim::UnitSimulator sim;
  SerialLinkLibrary link;
  bool modbus;

  Line(sim::Protocol protocol, bool pace)
      : sim(sim::SimOptions{protocol, 9600, pace, {}}),
        link([this](int) { return sim.ptyPath(); }),
        modbus(protocol == sim::Protocol::Modbus) {
    sim.addStation(1, 0);
    sim.addStation(2, 1);
    sim.addStation(3, 2);
    sim.addStation(4, 4);
    if (!sim.start()) {
      std::fprintf(stderr, "no pseudo-terminal\n");
      std::exit(1);
    }
    const int open = modbus ? link.CommOpen(1, 96) : link.abCommOpen(1, 96);
    if (modbus)
      link.SetRetry(kShellRetryCount);
    else {
      link.abSetRetry(kShellRetryCount);
      link.abSetCheckMode(protocol == sim::Protocol::Df1Bcc ? 1 : 0);
    }
    if (open != kLinkOk) {
      std::fprintf(stderr, "cannot open the simulated line: %d\n", open);
      std::exit(1);
    }
  }

  int read(int station, int reg, int words) {
    std::array<uint16_t, kReadBufferWords> buffer{};
    return ReadUnit(link, modbus, buffer.data(), kReadBufferWords, 1, station,
                    modbus ? reg : 256 + 2 * reg, modbus ? words : 2 * words);
  }
};

void roundTrip(int reads) {
  std::printf("1. Round trip of the 19-word read, unpaced pty, %d reads\n", reads);
  Line line(sim::Protocol::Modbus, false);
  line.read(1, 24, 19);
  const auto start = Clock::now();
  for (int i = 0; i < reads; ++i) {
    if (line.read(1, 24, 19) != kLinkOk) {
      std::printf("   our master: read failed\n");
      return;
    }
  }
  const double ours = msSince(start) * 1000.0 / reads;
  std::printf("   our master (libmodbus):  %8.1f us per read (%d requests served)\n", ours,
              line.sim.requestCount(1));

  const std::string python = pythonWithPymodbus();
  if (python.empty()) {
    std::printf("   pymodbus: not installed, no ratio\n");
    return;
  }
  // pymodbus opens the device itself: our master lets go of it first.
  line.link.CommClose(1);
  const std::string script = "/tmp/kvlink-bench-" + std::to_string(getpid()) + ".py";
  std::ofstream(script) << "import sys, time, logging\n"
                           "from pymodbus.client import ModbusSerialClient\n"
                           "logging.disable(logging.CRITICAL)\n"
                           "c = ModbusSerialClient(port=sys.argv[1], baudrate=9600, timeout=1)\n"
                           "c.connect()\n"
                           "n = int(sys.argv[2])\n"
                           "c.read_holding_registers(24, 19, slave=1)\n"
                           "t = time.perf_counter()\n"
                           "for i in range(n):\n"
                           "    r = c.read_holding_registers(24, 19, slave=1)\n"
                           "    assert not r.isError(), r\n"
                           "print((time.perf_counter() - t) / n * 1e6)\n";
  const std::string out = runCapture(python + " " + script + " " + line.sim.ptyPath() + " " +
                                     std::to_string(reads) + " 2>&1");
  std::remove(script.c_str());
  const double theirs = std::atof(out.c_str());
  if (theirs <= 0) {
    std::printf("   pymodbus: failed: %s\n", out.c_str());
    return;
  }
  std::printf("   pymodbus client:         %8.1f us per read\n", theirs);
  std::printf("   ratio ours / pymodbus:   %8.3f\n", ours / theirs);
}

void pacedPoll(sim::Protocol protocol, const char* name, int polls) {
  Line line(protocol, true);
  // Characters on the line for one poll: request and reply of both reads, DF1 with the
  // station's ACK (the master's own ACK goes out while the next command is prepared).
  int chars = 0;
  if (line.modbus) {
    chars = (8 + 5 + 38) + (8 + 5 + 36);
  } else {
    const Df1Check check = protocol == sim::Protocol::Df1Bcc ? Df1Check::Bcc : Df1Check::Crc;
    chars = (df1FrameBytes(9, check) + 2 + df1FrameBytes(6 + 38, check)) +
            (df1FrameBytes(9, check) + 2 + df1FrameBytes(6 + 36, check));
  }
  const double wire = chars * 10.0 / 9600 * 1000.0;
  line.read(1, 24, 19);
  double total = 0;
  double worst = 0;
  for (int i = 0; i < polls; ++i) {
    const auto start = Clock::now();
    if (!line.modbus) line.link.abSendControl(1, 21);
    const int a = line.read(1 + i % 4, 24, 19);
    if (!line.modbus) line.link.abSendControl(1, 21);
    const int b = line.read(1 + i % 4, 0, 18);
    const double ms = msSince(start);
    if (a != kLinkOk || b != kLinkOk) {
      std::printf("   %s: read failed (%d, %d)\n", name, a, b);
      return;
    }
    total += ms;
    worst = std::max(worst, ms);
  }
  const double mean = total / polls;
  std::printf(
      "   %-8s wire %6.1f ms (%3d chars)  measured mean %6.1f ms, worst %6.1f ms  "
      "ratio %.3f\n",
      name, wire, chars, mean, worst, mean / wire);
}

void silentStation(sim::Protocol protocol, const char* name) {
  Line line(protocol, false);
  line.sim.setFault(1, sim::Fault{sim::FaultKind::Silent});
  double total = 0;
  constexpr int kReads = 5;
  for (int i = 0; i < kReads; ++i) {
    const auto start = Clock::now();
    const int code = line.read(1, 24, 19);
    total += msSince(start);
    if (code != kNoAnswer) std::printf("   %s: unexpected code %d\n", name, code);
  }
  std::printf("   %-8s %6.1f ms per read of 19 words (retry count %d)\n", name, total / kReads,
              kShellRetryCount);
}

}  // namespace

int main(int argc, char** argv) {
  int reads = 500;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--reads") reads = std::max(1, std::atoi(argv[++i]));
  }
  roundTrip(reads);
  const int polls = std::max(10, reads / 25);
  std::printf("2. One poll's two reads at 9600 baud, paced at the line rate, %d polls\n", polls);
  pacedPoll(sim::Protocol::Modbus, "Modbus", polls);
  pacedPoll(sim::Protocol::Df1Crc, "DF1 CRC", polls);
  pacedPoll(sim::Protocol::Df1Bcc, "DF1 BCC", polls);
  std::printf("3. A station that does not answer, 9600 baud, default time-outs\n");
  silentStation(sim::Protocol::Modbus, "Modbus");
  silentStation(sim::Protocol::Df1Crc, "DF1 CRC");
  return 0;
}
