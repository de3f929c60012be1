// CPU cost of one poll pass over a line that answers at once: the station
// read, the window swap, the refresh of every registered window and the main
// window, in both protocols, with and without a network scan.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <array>

#include "Form1.h"
#include "InstallPolling.h"
#include "PollPass.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "link/LinkLibrary.h"
#include "platform/profile.h"

namespace kvlink {
namespace {

// Every station answers from one register file, at once.
class InstantLink : public LinkLibrary {
 public:
  InstantLink() {
    regs[39] = 0x0040;
    for (int r = 0; r < 43; ++r)
      if (r != 39) regs[r] = uint16_t(r * 3);
  }
  std::array<uint16_t, 256> regs{};
  bool silent = false;

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
    if (silent) return 36;
    for (int i = 0; i < count; ++i) buffer[i] = regs[reg + i];
    return 0;
  }
};

void runPasses(benchmark::State& state, bool modbus, bool scan, bool answers) {
  QTemporaryDir dir;
  qputenv("KVLINK_WINDIR", dir.path().toUtf8());
  WriteIni("Station", "station1", "Feeder 1", "gridmon.ini");
  ScriptedHost host;
  auto link = std::make_unique<InstantLink>();
  link->silent = !answers;
  Program program(host, std::move(link));
  installPolling(program);
  program.linkState.UseModbus = modbus ? 1 : 0;
  program.linkState.CommEnabled = 1;
  program.poll.ScanActive = scan ? 1 : 0;
  program.Form1().Timer1->start();
  for (auto _ : state) {
    PollCurrentStation(program);
    benchmark::DoNotOptimize(program.poll.PollStatus);
  }
}

void BM_PassModbus(benchmark::State& s) {
  runPasses(s, true, false, true);
}
void BM_PassDf1(benchmark::State& s) {
  runPasses(s, false, false, true);
}
void BM_PassDf1WithScan(benchmark::State& s) {
  runPasses(s, false, true, true);
}
void BM_PassNoResponse(benchmark::State& s) {
  runPasses(s, false, false, false);
}
BENCHMARK(BM_PassModbus);
BENCHMARK(BM_PassDf1);
BENCHMARK(BM_PassDf1WithScan);
BENCHMARK(BM_PassNoResponse);

}  // namespace
}  // namespace kvlink

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
