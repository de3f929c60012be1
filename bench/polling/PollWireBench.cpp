// One whole poll pass over a simulated line that paces every character at
// 9600 baud, against the time its characters need on the wire (ratio; target
// at most 1.10), in Modbus RTU and DF1 (CRC, BCC). The pass is the program's
// own: station name, both reads, window swap, refresh and main window.
//
//   polling_wire_bench [--passes N]

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Form1.h"
#include "InstallPolling.h"
#include "LinkSwitch.h"
#include "PollPass.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "UnitSimulator.h"
#include "link/Df1Frame.h"
#include "link/SerialLinkLibrary.h"
#include "platform/profile.h"

namespace {

using namespace kvlink;
using Clock = std::chrono::steady_clock;

constexpr int kStations = 4;
constexpr int kUnitTypes[kStations] = {0, 1, 2, 4};

// Data bytes of a DF1 reply, each 0x10 sent twice.
int stuffedBytes(const std::vector<uint16_t>& words) {
  int bytes = 0;
  for (uint16_t word : words)
    for (uint8_t byte : {uint8_t(word & 0xFF), uint8_t(word >> 8)}) bytes += byte == 0x10 ? 2 : 1;
  return bytes;
}

// Character times one pass needs on the line for `station`, one after the
// other: both requests and replies; for Modbus RTU the 3.5-character silence
// that ends each request before the unit may answer, for DF1 the station's
// DLE ACK of each command. The master's own two-character DLE NAK and DLE ACK
// are left out: the simulator does not pace what the master sends.
double passCharacters(sim::UnitSimulator& line, sim::Protocol protocol, int station) {
  if (protocol == sim::Protocol::Modbus) return (8 + 3.5 + 5 + 38) + (8 + 3.5 + 5 + 36);
  const Df1Check check = protocol == sim::Protocol::Df1Bcc ? Df1Check::Bcc : Df1Check::Crc;
  double chars = 0;
  for (auto [reg, words] : {std::pair{24, 19}, std::pair{0, 18}}) {
    const int reply = 6 + stuffedBytes(line.regs(station, reg, words));
    chars += df1FrameBytes(9, check) + 2 + df1FrameBytes(reply, check);
  }
  return chars;
}

void measure(sim::Protocol protocol, const char* name, int passes) {
  sim::UnitSimulator line(sim::SimOptions{protocol, 9600, true, {}});
  for (int s = 1; s <= kStations; ++s) line.addStation(s, kUnitTypes[s - 1], true);
  line.setFrozen(true);
  if (!line.start()) {
    std::fprintf(stderr, "no pseudo-terminal\n");
    std::exit(1);
  }
  const std::string device = line.devicePath();
  ScriptedHost host;
  Program program(host, std::make_unique<SerialLinkLibrary>([device](int) { return device; }));
  installPolling(program);
  program.linkState.UseModbus = protocol == sim::Protocol::Modbus ? 1 : 0;
  program.linkState.CheckMode = protocol == sim::Protocol::Df1Bcc ? 1 : 0;
  program.linkState.CommEnabled = 1;
  if (!SwitchLinkOn(program)) {
    std::fprintf(stderr, "cannot open the simulated line\n");
    std::exit(1);
  }
  PollCurrentStation(program);  // settle

  double wallTotal = 0, wireTotal = 0, worst = 0;
  int failed = 0;
  for (int i = 0; i < passes; ++i) {
    const int station = 1 + i % kStations;
    program.selectStation(int16_t(station));
    const double wire = passCharacters(line, protocol, station) * 10.0 / 9600 * 1000.0;
    const auto start = Clock::now();
    PollCurrentStation(program);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (program.poll.PollStatus != 0) ++failed;
    wallTotal += ms;
    wireTotal += wire;
    worst = std::max(worst, ms / wire);
  }
  std::printf("  %-7s wire %6.1f ms  pass %6.1f ms  ratio %.3f (worst %.3f)%s\n", name,
              wireTotal / passes, wallTotal / passes, wallTotal / wireTotal, worst,
              failed ? "  SOME PASSES FAILED" : "");
}

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int passes = 40;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--passes") passes = std::max(1, std::atoi(argv[++i]));
  QTemporaryDir dir;
  qputenv("KVLINK_WINDIR", dir.path().toUtf8());
  for (int s = 1; s <= kStations; ++s)
    WriteIni("Station", "station" + std::to_string(s), "Bay " + std::to_string(s), "gridmon.ini");
  std::printf("One poll pass at 9600 baud, paced at the line rate, %d passes each\n", passes);
  measure(sim::Protocol::Modbus, "Modbus", passes);
  measure(sim::Protocol::Df1Crc, "DF1 CRC", passes);
  measure(sim::Protocol::Df1Bcc, "DF1 BCC", passes);
  return 0;
}
