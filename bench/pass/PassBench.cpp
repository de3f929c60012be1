// The poll pass of the whole program (every subsystem installed):
//  pass/software/<protocol>: CPU time of one pass and of the repaint it causes,
//    with the main window and every data window the menus open on screen
//    (offscreen), over a line held in memory that answers at once: what the
//    program itself costs per pass, without the line.
//  pass/line/<protocol>/<baud>: wall time of one pass over the relay simulator
//    pacing every character at the line rate, against the wire time of the
//    pass's two reads (10 bits a character; the DF1 NAK and closing ACK of the
//    master are not paced by the simulator and not counted); the floor adds the
//    silences Modbus RTU requires per read (the unit's 3.5 characters, the
//    master's t3.5 of 3.5 characters of 11 bits). Target: wall / floor <= 1.10.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "../WireFloor.h"
#include "Form1.h"
#include "Install.h"
#include "PollPass.h"
#include "Program.h"
#include "ProgramWindows.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "UnitSimulator.h"
#include "link/Df1Frame.h"
#include "link/LinkLibrary.h"
#include "link/SerialLinkLibrary.h"
#include "platform/Profile.h"

namespace kvlink {
namespace {

using Clock = std::chrono::steady_clock;

// Every station answers from one register file of a motor unit, at once.
class InstantLink : public LinkLibrary {
 public:
  InstantLink() {
    for (int r = 0; r < int(regs.size()); ++r) regs[r] = uint16_t(100 + r);
    regs[39] = 0x0040;  // type 0 with a data logger
    regs[42] = 3;       // running
  }
  std::array<uint16_t, 256> regs{};

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t* buffer, int, int, int, int reg, int count) override {
    return copy(buffer, reg, count);
  }
  int WriteInfo(int, int, int, int32_t) override { return 0; }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t* buffer, int, int, int, int address, int bytes) override {
    return copy(buffer, (address - 256) / 2, bytes / 2);
  }
  int abWriteInfo(int, int, int, int32_t) override { return 0; }

 private:
  int copy(uint16_t* buffer, int reg, int count) {
    for (int i = 0; i < count; ++i) {
      // Meter values that move, so that every refresh has something to show.
      buffer[i] = regs[reg + i] + ((reg + i >= 24 && reg + i < 39) ? uint16_t(tick_ & 7) : 0);
    }
    ++tick_;
    return 0;
  }
  unsigned tick_ = 0;
};

struct ProgramOnLine {
  QTemporaryDir dir;
  ScriptedHost host;
  std::unique_ptr<Program> program;

  explicit ProgramOnLine(std::unique_ptr<LinkLibrary> link, bool modbus, int baud, int check) {
    qputenv("KVLINK_WINDIR", dir.path().toUtf8());
    WriteIni("Station", "station1", "Bench motor", "gridmon.ini");
    // No passwords set, so that every editor window opens.
    WriteIni("misc", "kesf", "-", "gridmon.ini");
    WriteIni("misc", "gene", "-", "gridmon.ini");
    program = std::make_unique<Program>(host, std::move(link));
    installSubsystems(*program);
    LinkState& link_ = program->linkState;
    link_.CommPort = 1;
    link_.BaudCode = int16_t(baud / 100);
    link_.UseModbus = modbus ? 1 : 0;
    link_.CheckMode = int16_t(check);
    OpenLink(*program);
    link_.CommEnabled = 1;
    program->selectStation(1);
    program->Form1().Timer1->stop();  // the bench runs the passes itself
  }
  ~ProgramOnLine() {
    program->unloadAll();
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void pass() {
    // PollCurrentStation polls only while Timer1 runs; its ticks are never
    // delivered here, as no event loop runs.
    program->Form1().Timer1->start();
    PollCurrentStation(*program);
    program->Form1().Timer1->stop();
  }
};

void software(benchmark::State& state, bool modbus) {
  ProgramOnLine line(std::make_unique<InstantLink>(), modbus, 9600, 0);
  line.pass();
  const int windows = test::openEveryWindow(*line.program);
  for (auto _ : state) {
    line.pass();
    QCoreApplication::processEvents();  // the repaint of what the pass changed
  }
  state.counters["windows_open"] = windows;
}

void overLine(benchmark::State& state, sim::Protocol protocol, int baud) {
  const bool modbus = protocol == sim::Protocol::Modbus;
  const Df1Check check = protocol == sim::Protocol::Df1Bcc ? Df1Check::Bcc : Df1Check::Crc;
  QTemporaryDir simDir;
  sim::UnitSimulator sim(
      sim::SimOptions{protocol, baud, true, simDir.filePath("line").toStdString()});
  sim.addStation(1, 0);
  sim.setFrozen(true);
  if (!sim.start()) return state.SkipWithError("no pseudo-terminal");
  qputenv("KVLINK_COM1", QByteArray::fromStdString(sim.devicePath()));
  ProgramOnLine line(std::make_unique<SerialLinkLibrary>(), modbus, baud,
                     check == Df1Check::Bcc ? 1 : 0);
  line.pass();
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    line.pass();
    total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }
  if (line.program->poll.PollStatus != 0) return state.SkipWithError("the station did not answer");
  bench::reportAgainstFloor(
      state, total, baud, modbus,
      bench::readChars(modbus, check, 19) + bench::readChars(modbus, check, 18), 2,
      "vs_floor<=1.02");
}

void registerAll() {
  benchmark::RegisterBenchmark("pass/software/modbus", software, true)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("pass/software/df1", software, false)->Unit(benchmark::kMicrosecond);
  const std::pair<sim::Protocol, const char*> protocols[] = {{sim::Protocol::Modbus, "modbus"},
                                                             {sim::Protocol::Df1Crc, "df1_crc"},
                                                             {sim::Protocol::Df1Bcc, "df1_bcc"}};
  for (const auto& [protocol, name] : protocols) {
    for (int baud : {9600, 1200}) {
      benchmark::RegisterBenchmark(
          ("pass/line/" + std::string(name) + "/" + std::to_string(baud)).c_str(), overLine,
          protocol, baud)
          ->Iterations(baud == 9600 ? 20 : 4)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace
}  // namespace kvlink

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kvlink::registerAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
