// Every fault a line can show, in Modbus RTU and DF1 with CRC and with BCC,
// through the program's ReadUnit and WriteUnit on the real link and the relay
// simulator: a clear failure code, not one word of a wrong or late reply in the
// read buffer, the "Write Error" box for a write, and good answers to the first
// requests after the fault is gone (a late reply taken by its own retry: its own words).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "ErrorHandling.h"
#include "FaultLine.h"
#include "MatrixTable.h"
#include "link/UnitIo.h"

namespace kvlink::test {
namespace {

constexpr int kStation = 5;
constexpr int kNeighbour = 6;  // the station a wrong-station reply names
constexpr int kMeterBlock = 24;
constexpr int kMeterWords = 19;
constexpr int kSetPoint = 6;
constexpr uint16_t kUntouched = 0xDEAD;

MatrixTable& table() {
  static MatrixTable t({"protocol", "fault", "read code", "buffer untouched", "write box",
                        "first read after", "first write after"});
  return t;
}
const bool kPrinted = (printAtExit(table(), "Fault matrix through ReadUnit/WriteUnit"), true);

using UnitIoFaultMatrix = FaultMatrixCell;

TEST_P(UnitIoFaultMatrix, FailsCleanlyAndRecoversOnTheFirstRequest) {
  FaultLine line(protocol(), {{kStation, 0}, {kNeighbour, 1}});
  ASSERT_TRUE(line.started());
  ASSERT_EQ(line.openLink(), 0);
  Program& program = line.program();
  const int16_t port = program.linkState.CommPort;
  const int32_t meterAddress = registerAddress(program, kMeterBlock);
  const int16_t meterCount = line.modbus() ? kMeterWords : 2 * kMeterWords;
  auto& buffer = program.ReadBuffer;
  const auto meterWords = [&] {
    return std::vector<uint16_t>(buffer.begin(), buffer.begin() + kMeterWords);
  };

  ASSERT_EQ(ReadUnit(program, port, kStation, meterAddress, meterCount), 0);
  ASSERT_EQ(meterWords(), line.sim().regs(kStation, kMeterBlock, kMeterWords));

  line.inject(fault(), kStation);
  buffer.fill(kUntouched);
  const int readCode = ReadUnit(program, port, kStation, meterAddress, meterCount);
  const bool late = fault() == LineFault::Late;
  const bool untouched =
      std::all_of(buffer.begin(), buffer.end(), [](uint16_t w) { return w == kUntouched; });
  const int expected = expectedCode(fault(), protocol());
  const bool readLate = late && readCode == 0;
  EXPECT_EQ(readCode, readLate ? 0 : expected);
  EXPECT_TRUE(readLate ? meterWords() == line.sim().regs(kStation, kMeterBlock, kMeterWords)
                       : untouched);

  if (late) line.inject(fault(), kStation, true);
  const std::size_t boxesBefore = line.host().boxes().size();
  const int writeCode = WriteUnit(program, port, kStation, registerAddress(program, kSetPoint), 44);
  const bool writtenLate = late && writeCode == 0;
  EXPECT_EQ(writeCode, writtenLate ? 0 : expected);
  EXPECT_TRUE(!writtenLate || line.sim().reg(kStation, kSetPoint) == 44);
  std::string box = "none";
  if (line.host().boxes().size() == boxesBefore + 1) {
    const auto& shown = line.host().boxes().back();
    box = shown.text.toStdString();
    EXPECT_EQ(box, writeErrorText(expected));
    EXPECT_EQ(shown.style, 0);
  }
  EXPECT_EQ(line.host().boxes().size(), boxesBefore + (writtenLate ? 0 : 1));

  // New meter values: a reply held back from the faulted requests carries the
  // old ones and would show.
  for (int r = kMeterBlock; r < kMeterBlock + 15; ++r) {
    line.sim().setReg(kStation, r, static_cast<uint16_t>(40000 + r));
  }
  line.clear(fault(), kStation);

  const int recoveredRead = ReadUnit(program, port, kStation, meterAddress, meterCount);
  const bool fresh =
      recoveredRead == 0 && meterWords() == line.sim().regs(kStation, kMeterBlock, kMeterWords);
  EXPECT_TRUE(fresh) << "code " << recoveredRead;
  const int recoveredWrite =
      WriteUnit(program, port, kStation, registerAddress(program, kSetPoint), 45);
  const bool written = recoveredWrite == 0 && line.sim().reg(kStation, kSetPoint) == 45;
  EXPECT_TRUE(written) << "code " << recoveredWrite;

  table().addRow({protocolName(protocol()), faultName(fault()),
                  std::to_string(readCode) + (readCode == expected || late ? "" : " (WRONG)"),
                  yesNo(untouched), box, fresh ? "fresh values" : "FAILED",
                  written ? "written" : "FAILED"});
}

INSTANTIATE_TEST_SUITE_P(Matrix, UnitIoFaultMatrix, faultMatrixCells(), faultMatrixCellName);

}  // namespace
}  // namespace kvlink::test
