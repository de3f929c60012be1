#include "LoadLogConfiguration.h"

#include <array>

#include "ErrorHandling.h"
#include "Host.h"
#include "LoggerConfigModule.h"
#include "LoggerRegisters.h"
#include "LoggingCode.h"
#include "PollSwitch.h"
#include "Program.h"
#include "StationBlocks.h"

namespace kvlink {

namespace {

const QString kLoadOffLine = QStringLiteral("Unit off-line.  Check connections.");

}  // namespace

void LoadLogConfiguration(Program& program) {
  LoggerConfigModule& module = loggerConfigModule(program);
  LogConfigure& window = module.LogConfigure();
  window.Timer1->start(400);
  window.Timer2->start(5000);
  window.showPcClockFields(module.pcClock());
  // Until the read below answers, nothing in the window came from this unit.
  window.forgetLoadedSettings();

  const LinkState& link = program.linkState;
  const bool modbus = link.UseModbus != 0;
  // A buffer of its own: a poll pass this command interrupted keeps
  // ReadBuffer.
  if (!modbus) program.link->abSendControl(link.CommPort, kDf1ReadControlCode);
  std::array<uint16_t, kLoggerConfigBlockWords> words{};
  const bool answered =
      ReadUnit(program, words.data(), int(words.size()), link.CommPort, link.CurrentStation,
               loggerRegisterAddress(modbus, kSampleInterval),
               loggerReadCount(modbus, kLoggerConfigBlockWords)) == 0;
  // The masks are captioned for the type of the unit read here: the poll
  // may not have read this station since it was chosen.
  const int16_t unitType =
      answered ? ReadUnitTypeOf(program, link.CurrentStation) : kUnitTypeUnknown;
  if (unitType == kUnitTypeUnknown) {
    MsgBox(program.host, kLoadOffLine);
    // The box let other handlers run: ask for the window again.
    if (LogConfigure* again = module.LogConfigure.ifLoaded()) again->Timer2->stop();
    RestartPollIfIdle(program);
    if (LogConfigure* again = module.LogConfigure.ifLoaded()) again->Hide();
    return;
  }

  module.settings = loggerSettingsFromWords(words);
  window.showSettings(module.settings, unitType, link.CurrentStation);
}

}  // namespace kvlink
