#include "LoadLogConfiguration.h"

#include <array>

#include "ErrorHandling.h"
#include "Host.h"
#include "LoggerConfigModule.h"
#include "LoggerRegisters.h"
#include "PollSwitch.h"
#include "Program.h"

namespace kvlink {

namespace {

// Sent on the DF1 line before the read, as before every read of a station.
constexpr int kDf1ReadControlCode = 21;

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
  if (!modbus) program.link->abSendControl(link.CommPort, kDf1ReadControlCode);
  // A buffer of its own: a poll pass this command interrupted keeps ReadBuffer.
  std::array<uint16_t, kLoggerConfigBlockWords> words{};
  const int16_t result =
      ReadUnit(program, words.data(), int(words.size()), link.CommPort, link.CurrentStation,
               loggerRegisterAddress(modbus, kSampleInterval),
               loggerReadCount(modbus, kLoggerConfigBlockWords));
  if (result != 0) {
    MsgBox(program.host, kLoadOffLine);
    // The box let other handlers run: ask for the window again.
    if (LogConfigure* again = module.LogConfigure.ifLoaded()) again->Timer2->stop();
    RestartPollIfIdle(program);
    if (LogConfigure* again = module.LogConfigure.ifLoaded()) again->Hide();
    return;
  }

  module.settings = loggerSettingsFromWords(words);
  window.showSettings(module.settings, program.poll.UnitType, link.CurrentStation);
}

}  // namespace kvlink
