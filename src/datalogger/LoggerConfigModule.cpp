#include "LoggerConfigModule.h"

#include <QDateTime>

#include "Form1.h"
#include "LoadLogConfiguration.h"
#include "LoggingCode.h"
#include "PollSwitch.h"
#include "SerialLink.h"
#include "enc.h"

namespace kvlink {

LoggerConfigModule::LoggerConfigModule(Program& program)
    : settings(loggingCode(program).settings), pcClock(systemLocalTime) {
  LogConfigure.setFactory(
      [&program, this] { return std::make_unique<kvlink::LogConfigure>(program, *this); });
}

void LoggerConfigKind::forgetStation() {
  if (kvlink::LogConfigure* window = module_.LogConfigure.ifLoaded())
    window->forgetLoadedSettings();
}

LoggerConfigModule& loggerConfigModule(Program& program) {
  return program.module<LoggerConfigModule>();
}

LocalTime systemLocalTime() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  // Qt counts Monday 1 .. Sunday 7; the unit counts Sunday 1 .. Saturday 7.
  return {date.year(), date.month(),  date.day(),   date.dayOfWeek() % 7 + 1,
          time.hour(), time.minute(), time.second()};
}

void Form1_mnuConfigure_Click(Program& program) {
  if (CheckPassword(program, 1) != kPasswordGranted) return;
  LoggerConfigModule& module = loggerConfigModule(program);
  module.LogConfigure();  // created from its design when it does not exist
  LoadLogConfiguration(program);
  HoldPoll(program, PollHolder::LoggerConfigure);
  module.LogConfigure().Show(true);
}

}  // namespace kvlink
