// What the program costs while it sits polling: kvlink27 is started as the
// operator starts it (settings with autostart, COM1 on a simulated Modbus RTU
// line paced at 9600 baud, one motor unit), left to warm up, then watched for
// KVLINK_IDLE_SECONDS (default 60): its CPU share (user + system time over
// wall time), its resident memory at the end and at its peak, and the polls
// the simulator saw. Runs headless (offscreen) unless QT_QPA_PLATFORM says
// otherwise.
//
//   bench_idle [--benchmark_out=FILE --benchmark_out_format=json]
#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "UnitSimulator.h"

namespace kvlink {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kStation = 1;
constexpr auto kWarmUp = 5s;

// User plus system time of a process, in seconds.
double cpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), {});
  // Fields after the command name, which is in parentheses and may hold blanks.
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int n = 3; fields >> field; ++n) {
    if (n == 14) utime = std::stoull(field);
    if (n == 15) {
      stime = std::stoull(field);
      break;
    }
  }
  return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

// A field of /proc/<pid>/status in KiB ("VmRSS", "VmHWM").
double statusKiB(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::atof(line.c_str() + key.size() + 1);
  }
  return 0;
}

pid_t startProgram(const std::string& dir, const std::string& device) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::setenv("KVLINK_COM1", device.c_str(), 1);
  ::setenv("KVLINK_WINDIR", dir.c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string log = dir + "/program.log";
  std::freopen(log.c_str(), "w", stdout);
  std::freopen(log.c_str(), "a", stderr);
  ::execl(KVLINK27_EXECUTABLE, KVLINK27_EXECUTABLE, static_cast<char*>(nullptr));
  ::_exit(127);
}

void stopProgram(pid_t pid) {
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(100ms);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

void BM_IdlePollingOneStation(benchmark::State& state) {
  const char* env = std::getenv("KVLINK_IDLE_SECONDS");
  const auto seconds = std::chrono::seconds(env && *env ? std::atoi(env) : 60);
  char pattern[] = "/tmp/kvlink-idle-XXXXXX";
  const std::string dir = ::mkdtemp(pattern);
  std::ofstream(dir + "/gridmon.ini")
      << "[Settings]\r\nport=1\r\nbaud=96\r\nprotocol=1\r\ncheckmode=0\r\nstation=1\r\n"
         "autostart=1\r\n\r\n[Station]\r\nstation1=Idle test motor\r\n";
  sim::UnitSimulator line(sim::SimOptions{sim::Protocol::Modbus, 9600, true, dir + "/line"});
  line.addStation(kStation, 0);
  if (!line.start()) return state.SkipWithError("no pseudo-terminal");

  for (auto _ : state) {
    const pid_t pid = startProgram(dir, line.devicePath());
    std::this_thread::sleep_for(kWarmUp);
    const int requestsBefore = line.requestCount(kStation);
    const double cpuBefore = cpuSeconds(pid);
    const auto start = Clock::now();
    std::this_thread::sleep_for(seconds);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds(pid) - cpuBefore;
    const int requests = line.requestCount(kStation) - requestsBefore;
    const double rss = statusKiB(pid, "VmRSS");
    const double peak = statusKiB(pid, "VmHWM");
    stopProgram(pid);
    if (requestsBefore == 0 || requests == 0) {
      state.SkipWithError("the program does not poll the simulated station");
      break;
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.counters["rss_mib"] = rss / 1024.0;
    state.counters["peak_rss_mib"] = peak / 1024.0;
    state.counters["requests_per_s"] = requests / wall;
    state.counters["seconds"] = wall;
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_IdlePollingOneStation)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kvlink

BENCHMARK_MAIN();
