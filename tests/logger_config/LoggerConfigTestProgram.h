#pragma once
// A fresh program with the logger configuration installed, a scripted host,
// a line held in memory that records every library call as text, settings
// in a temporary directory without passwords, and a PC clock standing still.

#include <memory>

#include "Form1.h"
#include "InstallLoggerConfig.h"
#include "LoggerConfigModule.h"
#include "MemoryLine.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink::test {

// 28 November 2026, a Saturday, 15:07:09.
constexpr LocalTime kPcNow{2026, 11, 28, 7, 15, 7, 9};

// The station selected, on COM 2.
constexpr int kStation = 5;

struct LoggerConfigTestProgram : TestProgram {
  MemoryLine* link = nullptr;
  LocalTime pcNow = kPcNow;

  explicit LoggerConfigTestProgram(bool modbus = true) {
    EXPECT_TRUE(writeNoPasswords());
    link = makeProgramOn(std::make_unique<MemoryLine>());
    installLoggerConfig(*program);
    module().pcClock = [this] { return pcNow; };
    LinkState& state = program->linkState;
    state.UseModbus = modbus ? 1 : 0;
    state.CommPort = 2;
    EXPECT_EQ(OpenLink(*program), 0);
    program->selectStation(kStation);
    program->Form1().Timer1->start();
    link->calls.clear();
  }

  LoggerConfigModule& module() { return loggerConfigModule(*program); }
  LogConfigure& window() { return module().LogConfigure(); }
  bool polling() { return program->Form1().Timer1->isActive(); }

  // Data Logging > "Configure" (the modal window stays up after this).
  LogConfigure& open() {
    program->Form1().mnuConfigure->trigger();
    return window();
  }
  // The calls made since the last look, then forgotten.
  std::vector<std::string> takeCalls() { return link->take(); }
  std::vector<QString> boxTexts() const { return test::boxTexts(host); }
};

// Test names of the two protocols.
inline std::string protocolName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Modbus" : "Df1";
}

// The windows' tests, run in both protocols (the parameter: Modbus RTU).
class LoggerConfigWindowTest : public ::testing::TestWithParam<bool> {
 protected:
  LoggerConfigWindowTest() : p(GetParam()) { p.link->station(kStation); }

  bool modbus() const { return GetParam(); }
  MemoryStation& unit() { return p.link->station(kStation); }
  // The calls a read or write of the station's registers makes.
  std::string read(int reg, int words) const {
    return registerReadCall(modbus(), 2, kStation, reg, words);
  }
  std::string write(int reg, int value) const {
    return registerWriteCall(modbus(), 2, kStation, reg, value);
  }

  LoggerConfigTestProgram p;
};

}  // namespace kvlink::test
