// unitsim: a simulated line of units on a pseudo-terminal, for the demo and for trying the
// program without relays.
//
//   unitsim [--protocol modbus|df1] [--check crc|bcc] [--baud N] [--pace]
//           [--station N:TYPE]... [--fault N:KIND] [--link PATH] [--log PATH]
//
// Serves until interrupted. Without --link it names the device to open on standard output;
// with --link the caller opens the link it named, and the simulator says nothing.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "UnitSimulator.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void onSignal(int) {
  gStop = 1;
}

int usage() {
  std::fprintf(stderr,
               "usage: unitsim [--protocol modbus|df1] [--check crc|bcc] [--baud N] [--pace]\n"
               "               [--station N:TYPE]... [--fault N:KIND] [--link PATH] [--log PATH]\n"
               "  TYPE: 0, 1, 2 or 4. KIND: silent, silentwrites, badcheck, truncated,\n"
               "  garbage, late, wrongstation, exception, duplicate, foreignfirst, noisefirst.\n");
  return 2;
}

bool splitPair(const char* text, int& number, std::string& rest) {
  const char* colon = std::strchr(text, ':');
  if (colon == nullptr) return false;
  number = std::atoi(text);
  rest = colon + 1;
  return number > 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kvlink::sim;
  SimOptions options;
  bool df1 = false;
  bool bcc = false;
  std::vector<std::pair<int, int>> stations;
  std::vector<std::pair<int, FaultKind>> faults;
  std::string logPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--pace") {
      options.pace = true;
    } else if (arg == "--protocol" && hasValue) {
      const std::string v = argv[++i];
      if (v != "modbus" && v != "df1") return usage();
      df1 = v == "df1";
    } else if (arg == "--check" && hasValue) {
      const std::string v = argv[++i];
      if (v != "crc" && v != "bcc") return usage();
      bcc = v == "bcc";
    } else if (arg == "--baud" && hasValue) {
      options.baud = std::atoi(argv[++i]);
      if (options.baud <= 0) return usage();
    } else if (arg == "--link" && hasValue) {
      options.linkPath = argv[++i];
    } else if (arg == "--log" && hasValue) {
      logPath = argv[++i];
    } else if (arg == "--station" && hasValue) {
      int number = 0;
      std::string type;
      if (!splitPair(argv[++i], number, type)) return usage();
      const int t = std::atoi(type.c_str());
      if (t != 0 && t != 1 && t != 2 && t != 4) return usage();
      stations.emplace_back(number, t);
    } else if (arg == "--fault" && hasValue) {
      int number = 0;
      std::string kind;
      if (!splitPair(argv[++i], number, kind)) return usage();
      const FaultKind k = faultKindFromName(kind);
      if (k == FaultKind::None && kind != "none") return usage();
      faults.emplace_back(number, k);
    } else {
      return usage();
    }
  }
  options.protocol = !df1 ? Protocol::Modbus : (bcc ? Protocol::Df1Bcc : Protocol::Df1Crc);
  if (stations.empty()) stations = {{1, 0}, {2, 1}, {3, 2}, {4, 4}};

  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  UnitSimulator sim(options);
  if (!logPath.empty() && !sim.logAccessTo(logPath)) {
    std::fprintf(stderr, "unitsim: cannot open %s\n", logPath.c_str());
    return 1;
  }
  for (const auto& [number, type] : stations) {
    if (!sim.addStation(number, type)) {
      std::fprintf(stderr, "unitsim: station %d given twice or out of range\n", number);
      return 2;
    }
  }
  for (const auto& [number, kind] : faults) sim.setFault(number, Fault{kind});
  if (!sim.start()) {
    std::fprintf(stderr, "unitsim: cannot open a pseudo-terminal or the link\n");
    return 1;
  }
  if (options.linkPath.empty()) {
    std::printf("unitsim: the simulated line is on %s\n", sim.devicePath().c_str());
    std::fflush(stdout);
  }
  while (gStop == 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sim.stop();
  return 0;
}
