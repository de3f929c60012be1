#pragma once
// End-to-end tests: the relay simulator on a pseudo-terminal in one protocol
// (Modbus RTU, DF1 with CRC, DF1 with BCC), and a test program (TestProgram.h)
// whose real link library talks to it. The program ends before the line.
//
//   class XEndToEndTest : public EndToEndTest {
//     void SetUp() override {
//       line->addStation(5, 0);
//       ASSERT_TRUE(startLine());
//       makeProgram();
//       installSubsystems(*program);
//       ASSERT_TRUE(openLink());
//     }
//   };
//   INSTANTIATE_TEST_SUITE_P(Lines, XEndToEndTest, ::testing::ValuesIn(kLineCases), lineCaseName);

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestProgram.h"
#include "UnitSimulator.h"
#include "link/LinkTiming.h"

namespace kvlink::test {

struct LineCase {
  sim::Protocol protocol;
  const char* name;
};

inline constexpr LineCase kLineCases[] = {{sim::Protocol::Modbus, "Modbus"},
                                          {sim::Protocol::Df1Crc, "Df1Crc"},
                                          {sim::Protocol::Df1Bcc, "Df1Bcc"}};

std::string lineCaseName(const ::testing::TestParamInfo<LineCase>& info);

// The link's timing here: a turnaround ten times what the simulator needs on a busy machine.
LinkTiming busyMachineTiming();

class SimulatedLine : public TestProgram {
 public:
  // With `linkName`, the program reaches the device through a symbolic link
  // of that name in the settings directory.
  explicit SimulatedLine(sim::Protocol protocol, const char* linkName = nullptr);
  ~SimulatedLine();

  bool modbus() const { return protocol == sim::Protocol::Modbus; }
  int16_t checkMode() const { return protocol == sim::Protocol::Df1Bcc ? 1 : 0; }

  // Starts the line with its clocks and meters stopped; false without a pty.
  bool startLine();
  // The real link library, every port on the simulator's device.
  std::unique_ptr<LinkLibrary> serialLink() const;
  using TestProgram::makeProgram;
  // A new program on the real link library.
  Program& makeProgram();
  // The line's settings on COM 3 at 9600 baud put in linkState, the link
  // enabled and opened as the serial set-up window's Enable does.
  bool openLink();

  const sim::Protocol protocol;
  std::unique_ptr<sim::UnitSimulator> line;
};

// One test per protocol of the line.
class EndToEndTest : public ::testing::TestWithParam<LineCase>, public SimulatedLine {
 protected:
  explicit EndToEndTest(const char* linkName = nullptr)
      : SimulatedLine(GetParam().protocol, linkName) {}
  void TearDown() override { endProgram(); }
};

}  // namespace kvlink::test
