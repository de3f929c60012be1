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

const QString kWord1Refused = QStringLiteral(
    "The unit did not take program-mode word 1 (register 14), so word 2 (register 15) was not "
    "written.  Check the unit and apply again.");
const QString kWord2Refused = QStringLiteral(
    "The unit took program-mode word 1 (register 14) but not word 2 (register 15).  Check the "
    "unit and apply again.");

ProgramModeModule& modeModule(Program& program) {
  return program.module<ProgramModeModule>();
}

}  // namespace

void openProgramMode(Program& program, ProgramModeFamily family) {
  HoldPoll(program, PollHolder::ProgramMode);
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
  // A refused word stops Apply: the unit is told nothing after it, and the
  // window stays open with the operator's choice.
  if (WriteUnit(program, port, station, registerAddress(program, kProgramModeRegister1),
                words.word1) != 0) {
    MsgBox(program.host, kWord1Refused, vbExclamation, title);
    return;
  }
  if (WriteUnit(program, port, station, registerAddress(program, kProgramModeRegister2),
                words.word2) != 0) {
    MsgBox(program.host, kWord2Refused, vbExclamation, title);
    return;
  }
  closeProgramMode(program, family);
}

void closeProgramMode(Program& program, ProgramModeFamily family) {
  if (ProgramModeWindow* window = modeModule(program).windowIfLoaded(family)) window->Hide();
  program.windowStates.ProgramModeWindowState = kWindowClosed;
  ReleasePoll(program, PollHolder::ProgramMode);
}

}  // namespace kvlink
