#include "ProgramModeActions.h"

#include "ErrorHandling.h"
#include "FieldEdit.h"
#include "Host.h"
#include "ProgramModeModule.h"
#include "UnitOffLine.h"

namespace kvlink {

namespace {

constexpr int kProgramModeRegister1 = 14;
constexpr int kProgramModeRegister2 = 15;

ProgramModeModule& modeModule(Program& program) {
  return program.module<ProgramModeModule>();
}

}  // namespace

void openProgramMode(Program& program, ProgramModeFamily family) {
  StopPollTimer(program);
  ProgramModeWindow& window = modeModule(program).window(family);
  window.Show();
  program.windowStates.ProgramModeWindowState = family == ProgramModeFamily::Motor ? 0 : 1;
  window.DecodeProgramModeWords(program.poll.UnitType);
}

void applyProgramMode(Program& program, ProgramModeFamily family) {
  ProgramModeWindow* window = modeModule(program).windowIfLoaded(family);
  if (!window) return;
  const ProgramModeWords words = window->EncodeProgramModeWords(program.poll.UnitType);
  const int16_t station = program.linkState.CurrentStation;
  const bool filled = window->filled.station() == station;
  const uint32_t changes = program.linkState.stationChanges;
  const QString title = window->windowTitle();
  program.host.doEvents();  // the window may be gone after this

  if (!filled || program.linkState.stationChanges != changes) {
    if (UnitOffLine(program))
      MsgBox(program.host, QStringLiteral("Unit off-line...Check connections"), vbCritical,
             QStringLiteral("Off-line error"));
    else
      refuseUnread(program, title, UnreadRetry::Reopen);
    return;
  }
  const int16_t port = program.linkState.CommPort;
  WriteUnit(program, port, station, registerAddress(program, kProgramModeRegister1), words.word1);
  WriteUnit(program, port, station, registerAddress(program, kProgramModeRegister2), words.word2);
  closeProgramMode(program, family);
}

void closeProgramMode(Program& program, ProgramModeFamily family) {
  if (ProgramModeWindow* window = modeModule(program).windowIfLoaded(family)) window->Hide();
  program.windowStates.ProgramModeWindowState = kWindowClosed;
  if (!program.ended) RestartPollIfIdle(program);  // no poll while the program ends
}

}  // namespace kvlink
