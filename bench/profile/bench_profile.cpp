// What the poll pass pays for the station name it reads from the settings file
// on every pass: one ReadIni of [Station] stationN from a gridmon.ini that
// names all 63 stations, and the same lookup in text already in memory.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Profile.h"
#include "platform/ProfileText.h"

namespace kvlink {
namespace {

std::string settingsText() {
  std::string text = "[Settings]\r\nCommPort=1\r\nBaudRate=3\r\nModbus=1\r\n\r\n[Station]\r\n";
  for (int n = 1; n <= 63; ++n) {
    text += "station" + std::to_string(n) + "=Feeder bay " + std::to_string(n) + "\r\n";
  }
  return text;
}

void BM_ReadIniStationName(benchmark::State& state) {
  char pattern[] = "/tmp/kvlink-bench-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  std::ofstream(dir + "/gridmon.ini", std::ios::binary) << settingsText();
  ::setenv("KVLINK_WINDIR", dir.c_str(), 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadIni("Station", "station63", "gridmon.ini"));
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadIniStationName)->Unit(benchmark::kMicrosecond);

void BM_ProfileLookupInMemory(benchmark::State& state) {
  const std::string text = settingsText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(profileLookup(text, "Station", "station63"));
  }
}
BENCHMARK(BM_ProfileLookupInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvlink

BENCHMARK_MAIN();
