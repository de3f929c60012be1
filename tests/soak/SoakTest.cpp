// Soak: many poll passes of the whole program on the relay simulator, with
// random faults of every kind (the line vanishing included), station switches
// across the four unit types, queued commands and register values that change
// between passes, with every window open (and opened again after a run of
// unanswered passes has closed them). Every pass is checked: "No Response" and not one value
// stored while the selected station cannot answer, the station's current
// values after any pass it answered (a late reply: only its own), a sound station missed
// on a busy machine at most once in a hundred passes. The heap of small blocks must stay flat
// once the program has warmed up; in a sanitized build (scripts/soak) AddressSanitizer,
// LeakSanitizer and UndefinedBehaviorSanitizer watch every pass.
//
// KVLINK_SOAK_PASSES: passes per protocol (default 150, the short run of
// scripts/test); KVLINK_SOAK_SEED: the seed of the random events (default 1).
// Progress is printed every 500 passes, or twenty times in a longer run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "FaultLine.h"
#include "Form1.h"
#include "HeapUsage.h"
#include "PollPass.h"
#include "PolledValueCheck.h"
#include "ProgramWindows.h"

namespace kvlink::test {
namespace {

const std::string kNoResponse = "No Response";

struct Unit {
  int station;
  int type;
};
constexpr Unit kUnits[] = {{1, 0}, {2, 1}, {3, 2}, {4, 4}};

constexpr double kFaultChance = 0.15;
constexpr double kSwitchChance = 0.06;
constexpr double kCommandChance = 0.04;
constexpr double kOpenWindowsChance = 0.05;
constexpr int kLongestFault = 8;  // passes; more than 5 closes the data windows
// Growth of the live heap allowed from the earlier to the later checkpoints.
constexpr long kHeapSlackBytes = 256 * 1024;

long envNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

class Soak : public ::testing::TestWithParam<ProtocolInfo> {};

TEST_P(Soak, PassesWithRandomFaultsStayCorrectAndMemoryStaysFlat) {
  const long passes = envNumber("KVLINK_SOAK_PASSES", 150);
  const unsigned seed = static_cast<unsigned>(envNumber("KVLINK_SOAK_SEED", 1));
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

  startHeapAccounting();
  std::vector<std::pair<int, int>> stations;
  for (const Unit& u : kUnits) stations.push_back({u.station, u.type});
  FaultLine line(GetParam().protocol, stations);
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.openLink(), 0);
  Program& program = line.program();
  program.linkState.CommEnabled = 1;
  program.Form1().Timer1->start();
  Unit current = kUnits[0];
  program.selectStation(static_cast<int16_t>(current.station));
  PollCurrentStation(program);
  openEveryWindow(program);

  // The fault in force: on `station`, or on the whole line for Vanish.
  struct {
    bool on = false;
    LineFault kind = LineFault::Silent;
    int station = 0;
    int passesLeft = 0;
  } fault;
  long faulted = 0, switches = 0, commands = 0, failures = 0, missed = 0;
  // Heap checkpoints, each taken in the same state: the fault cleared, the
  // first station (a motor unit) polled, every window open and repainted.
  std::vector<std::size_t> heap;
  const long warmUp = passes / 5;
  const long interval = std::max(20L, passes / 10);
  const long progressEvery = std::max(500L, passes / 20);
  const auto started = std::chrono::steady_clock::now();
  const auto checkpoint = [&] {
    if (fault.on) {
      line.clear(fault.kind, fault.station);
      fault.on = false;
    }
    current = kUnits[0];
    program.selectStation(static_cast<int16_t>(current.station));
    PollCurrentStation(program);
    openEveryWindow(program);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    heap.push_back(smallBlockHeapBytes());
    if (std::getenv("KVLINK_SOAK_TRACE")) {
      std::string shown;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
          shown += " " + std::string(w->metaObject()->className()) + "(" +
                   std::to_string(w->width()) + "x" + std::to_string(w->height()) + ")";
        }
      }
      std::printf("checkpoint %zu KiB:%s\n", heap.back() / 1024, shown.c_str());
    }
  };

  long pass = 0;
  for (; pass < passes && failures < 5; ++pass) {
    if (fault.on && fault.passesLeft-- == 0) {
      line.clear(fault.kind, fault.station);
      fault.on = false;
    } else if (!fault.on && chance(rng) < kFaultChance) {
      fault.on = true;
      fault.kind = kLineFaults[pick(std::size(kLineFaults))].fault;
      fault.station = current.station;
      fault.passesLeft = 1 + pick(kLongestFault);
      line.inject(fault.kind, fault.station);
      ++faulted;
    }
    if (chance(rng) < kSwitchChance) {
      current = kUnits[pick(std::size(kUnits))];
      program.selectStation(static_cast<int16_t>(current.station));
      ++switches;
    }
    const bool command = chance(rng) < kCommandChance;
    if (command) {
      program.commands.PendingClearPeak = true;
      program.commands.PendingTripReset = pick(2) == 1;
      ++commands;
    }
    for (int i = 0; i < 4; ++i) {
      const int reg = pick(2) ? pick(18) : 24 + pick(15);
      line.sim().setReg(current.station, reg, static_cast<uint16_t>(pick(65536)));
    }

    const PolledValues before = program.poll.values;
    PollCurrentStation(program);
    line.host().clearRecords();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const bool cannotAnswer =
        fault.on && (fault.kind == LineFault::Vanish || fault.station == current.station);
    const std::string label1 = program.Form1().Label1->text().toStdString();
    const bool answered = label1 != kNoResponse;
    const auto type = static_cast<int16_t>(current.type);
    const bool ownValues =
        program.poll.UnitType == current.type &&
        (command || holdsRegisters(program.poll.values, type, line.sim(), current.station));
    const bool unchanged = storedValues(program.poll.values) == storedValues(before);
    // The retry of a read may take the late reply to it: the station's own values only.
    const bool late = cannotAnswer && fault.kind == LineFault::Late;
    const bool ok = answered ? (!cannotAnswer || late) && ownValues
                    : late   ? changedOnlyToOwnRegisters(before, program.poll.values, type,
                                                         line.sim(), current.station)
                             : unchanged;
    if (ok && !answered && !cannotAnswer) ++missed;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "pass " << pass << " (seed " << seed << "): station " << current.station
                    << ", fault " << (fault.on ? faultName(fault.kind) : "none") << " on station "
                    << fault.station << ", Label1 \"" << label1 << "\"";
    }
    // Windows closed by a run of unanswered passes open again now and then.
    if (!cannotAnswer && chance(rng) < kOpenWindowsChance) openEveryWindow(program);
    if (pass >= warmUp && (pass - warmUp) % interval == 0) checkpoint();
    if ((pass + 1) % progressEvery == 0) {
      const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
      std::printf("%s: pass %ld of %ld, %ld faults, %ld wrong, %.0f s\n", GetParam().name, pass + 1,
                  passes, faulted, failures, elapsed.count());
      std::fflush(stdout);
    }
  }
  checkpoint();

  std::string series;
  for (std::size_t bytes : heap) series += " " + std::to_string(bytes / 1024);
  // A leak raises the floor: the least heap of the later checkpoints against
  // the least of the earlier ones.
  const auto middle = heap.begin() + static_cast<long>(heap.size() / 2);
  const long growth = static_cast<long>(*std::min_element(middle, heap.end())) -
                      static_cast<long>(*std::min_element(heap.begin(), middle));
  const int windows = openEveryWindow(program);
  std::printf(
      "%s: %ld passes (seed %u), %ld faults, %ld station switches, %ld commands, %d windows "
      "open; small-block heap KiB at the checkpoints:%s (%+ld bytes); resident %.1f MiB\n",
      GetParam().name, pass, seed, faulted, switches, commands, windows, series.c_str(), growth,
      residentBytes() / 1048576.0);
  EXPECT_LE(missed, std::max(1L, pass / 100)) << "sound stations went unanswered";
  EXPECT_LT(growth, kHeapSlackBytes) << "the live heap grows";
}

INSTANTIATE_TEST_SUITE_P(Protocols, Soak, ::testing::ValuesIn(kProtocols),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvlink::test
