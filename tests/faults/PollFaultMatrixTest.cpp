// Every fault a line can show, in Modbus RTU and DF1 with CRC and with BCC,
// through the real poll pass (PollCurrentStation) of the whole program on the
// relay simulator: the main window shows "No Response" on every pass while the
// fault lasts, not one polled value changes (the station's and its
// neighbour's registers are changed first, so a value from a wrong or late
// reply would show), and the first pass after the fault is gone shows the
// station again with its current values (a late reply only ever its own).
#include <gtest/gtest.h>

#include <QLabel>
#include <chrono>
#include <string>
#include <vector>

#include "FaultLine.h"
#include "Form1.h"
#include "MatrixTable.h"
#include "PollPass.h"
#include "PolledValueCheck.h"

namespace kvlink::test {
namespace {

const std::string kNoResponse = "No Response";

using Clock = std::chrono::steady_clock;

constexpr int kStation = 5;    // a motor unit (type 0)
constexpr int kNeighbour = 6;  // a feeder unit (type 1); wrong-station replies name it
constexpr int kFaultPasses = 2;

MatrixTable& table() {
  static MatrixTable t({"protocol", "fault", "Label1 during fault", "values kept",
                        "faulted pass ms", "first pass after", "fresh values"});
  return t;
}
const bool kPrinted = (printAtExit(table(), "Fault matrix through the poll pass"), true);

// New values in every register the poll reads but the identification and
// status words, on both stations, all different from before.
void changeRegisters(sim::UnitSimulator& sim, uint16_t base) {
  for (int station : {kStation, kNeighbour}) {
    for (int r = 0; r < 18; ++r) sim.setReg(station, r, uint16_t(base + station * 100 + r));
    for (int r = 24; r < 39; ++r) sim.setReg(station, r, uint16_t(base + station * 100 + r));
  }
}

using PollFaultMatrix = FaultMatrixCell;

TEST_P(PollFaultMatrix, NoResponseNothingStoredAndRecoveryOnTheFirstPass) {
  FaultLine line(protocol(), {{kStation, 0}, {kNeighbour, 1}});
  ASSERT_TRUE(line.started());
  line.sim().setReg(kStation, 42, 3);  // running
  ASSERT_EQ(line.openLink(), 0);
  Program& program = line.program();
  program.linkState.CommEnabled = 1;
  program.selectStation(kStation);
  program.Form1().Timer1->start();
  const auto label1 = [&] { return program.Form1().Label1->text().toStdString(); };

  PollCurrentStation(program);
  ASSERT_NE(label1(), kNoResponse);
  ASSERT_EQ(program.poll.UnitType, 0);
  ASSERT_TRUE(holdsRegisters(program.poll.values, 0, line.sim(), kStation));

  changeRegisters(line.sim(), 20000);
  line.inject(fault(), kStation);
  const bool late = fault() == LineFault::Late;
  bool noResponse = true;
  bool kept = true;
  double faultedMs = 0;
  for (int i = 0; i < kFaultPasses; ++i) {
    const PolledValues before = program.poll.values;
    const auto start = Clock::now();
    PollCurrentStation(program);
    faultedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const PolledValues& after = program.poll.values;
    const bool answered = label1() != kNoResponse;
    noResponse = noResponse && !answered;
    kept = kept && (answered ? late && holdsRegisters(after, 0, line.sim(), kStation)
                    : late   ? changedOnlyToOwnRegisters(before, after, 0, line.sim(), kStation)
                             : storedValues(after) == storedValues(before));
  }
  EXPECT_TRUE(noResponse || late) << label1();
  EXPECT_TRUE(kept);

  changeRegisters(line.sim(), 30000);
  line.clear(fault(), kStation);
  PollCurrentStation(program);
  const std::string after = label1();
  const bool answered = after != kNoResponse;
  const bool fresh = holdsRegisters(program.poll.values, 0, line.sim(), kStation);
  EXPECT_TRUE(answered);
  EXPECT_TRUE(fresh);

  char ms[16];
  std::snprintf(ms, sizeof ms, "%.0f", faultedMs);
  const std::string during = noResponse ? kNoResponse
                             : late     ? "own late reply"
                                        : "NOT " + kNoResponse;
  table().addRow({protocolName(protocol()), faultName(fault()), during, yesNo(kept), ms,
                  answered ? after : "No Response (NOT recovered)", yesNo(fresh)});
}

INSTANTIATE_TEST_SUITE_P(Matrix, PollFaultMatrix, faultMatrixCells(), faultMatrixCellName);

}  // namespace
}  // namespace kvlink::test
