#pragma once
// The logger configuration of subsystem 5 in the program: the window
// "Configure Data Logging", the logger settings last loaded or sent, the PC
// clock the window reads, and the Data Logging > "Configure" command.

#include <functional>

#include "DefaultInstance.h"
#include "LogConfigure.h"
#include "LoggerSettings.h"
#include "Program.h"
#include "UnitClockCodec.h"

namespace kvlink {

class LoggerConfigModule;

// The logger window as a change of the station or of the link sees it: the
// settings it shows no longer count as read from the station.
class LoggerConfigKind : public WindowKind {
 public:
  explicit LoggerConfigKind(LoggerConfigModule& module) : module_(module) {}
  void closeAll(CloseReason) override {}
  void forgetStation() override;

 private:
  LoggerConfigModule& module_;
};

class LoggerConfigModule : public Module {
 public:
  explicit LoggerConfigModule(Program& program);

  DefaultInstance<kvlink::LogConfigure> LogConfigure;
  // LogSampleInterval ... LogRecordCounter as last loaded or sent (kept by
  // module LoggingCode, which the record viewer shares).
  LoggerSettings& settings;
  // The PC clock; tests put a fixed one in its place.
  std::function<LocalTime()> pcClock;
  LoggerConfigKind kind{*this};

  void unloadWindows() override { LogConfigure.Unload(); }
};

LoggerConfigModule& loggerConfigModule(Program& program);

// The local time of this computer.
LocalTime systemLocalTime();

// Data Logging > "Configure": behind the general password, fills the window
// from the unit, stops the poll and shows the window modally.
void Form1_mnuConfigure_Click(Program& program);

}  // namespace kvlink
