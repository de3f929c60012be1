#include "PollPass.h"

#include <exception>

#include "CommandCodes.h"
#include "ErrorHandling.h"
#include "Form1.h"
#include "MainWindowStatus.h"
#include "PassTarget.h"
#include "PollingModule.h"
#include "Program.h"
#include "StationBlocks.h"
#include "StationRead.h"
#include "platform/Profile.h"

namespace kvlink {

namespace {

// Marks the pass as running and lets every kind disable what it must; on
// every way out lets every kind restore it.
class PassScope {
 public:
  explicit PassScope(Program& program) : program_(program) {
    program_.poll.passRunning = true;
    forEachKind([](WindowKind& kind) { kind.beginPass(); });
  }
  ~PassScope() {
    // After the program end nothing is created again.
    if (!program_.ended) forEachKind([](WindowKind& kind) { kind.endPass(); });
    program_.poll.passRunning = false;
  }
  PassScope(const PassScope&) = delete;
  PassScope& operator=(const PassScope&) = delete;

 private:
  template <class F>
  void forEachKind(F f) {
    const auto& kinds = program_.windowKinds();
    for (size_t i = 0; i < kinds.size(); ++i) f(*kinds[i]);
  }
  Program& program_;
};

void showStationName(Program& program, int16_t station) {
  const QString name = stationName(station);
  program.Form1().showStation(station, name);
  for (WindowKind* kind : program.windowKinds()) kind->showStationName(name);
}

void runScanStep(Program& program, int16_t flags) {
  PollState& poll = program.poll;
  if (poll.ScanActive != 1) return;
  poll.ScanStationFailed = (flags & kScanNotAnswered) ? 1 : 0;
  auto* module = program.findModule<PollingModule>();
  if (module && module->networkSummaryStep) module->networkSummaryStep();
}

void handleNoAnswer(Program& program, const PassTarget& target) {
  PollState& poll = program.poll;
  // Commands for the station that did not answer are dropped; after a switch
  // to another station during the pass, those were dropped by the switch and
  // what is queued now is for the new station.
  if (target.stationUnchanged(program)) program.commands.dropAll();
  showMainWindowStatus(program, target, false);
  if (++poll.NoResponseCount > kNoResponsePassesBeforeClose) {
    for (WindowKind* kind : program.windowKinds()) kind->closeAll(CloseReason::NoResponse);
    program.windowStates.closeAll();
  }
}

// False when the pass must end early (the link changed in an event pump).
// After a switch to another station in one of the pass's event pumps, what
// was read is the old station's: the windows keep what the switch left them.
bool handleAnswer(Program& program, const PassTarget& target) {
  program.poll.NoResponseCount = 0;
  if (target.stationUnchanged(program)) SyncWindowsToUnitType(program);
  if (!pumpEvents(program, target)) return false;
  WritePendingCommands(program, target);
  if (!target.linkUnchanged(program)) return false;
  const auto& kinds = program.windowKinds();
  for (size_t i = 0; i < kinds.size() && target.stationUnchanged(program); ++i) {
    kinds[i]->refresh();
    if (!target.linkUnchanged(program)) return false;
  }
  showMainWindowStatus(program, target, true);
  return true;
}

void runAutoRetrieveStep(Program& program) {
  auto* module = program.findModule<PollingModule>();
  if (module && module->autoRetrieveStep)
    module->autoRetrieveStep();
  else
    program.Form1().Label12->clear();
}

void runPass(Program& program) {
  PassScope scope(program);
  const PassTarget target = PassTarget::capture(program);
  showStationName(program, target.station);

  const StationReadResult read = PollSelectedStation(program, target);
  if (read.abandoned) return;
  program.poll.PollStatus = read.flags;
  runScanStep(program, read.flags);
  if (!target.linkUnchanged(program)) return;

  if (read.flags & kStationNotAnswered)
    handleNoAnswer(program, target);
  else if (!handleAnswer(program, target))
    return;
  runAutoRetrieveStep(program);
}

}  // namespace

void PollCurrentStation(Program& program) {
  if (!program.Form1().Timer1->isActive()) return;
  if (program.poll.passRunning) return;
  try {
    runPass(program);
  } catch (const std::exception&) {
    // The pass ends here; what it disabled has been restored on the way out,
    // and the next tick polls again.
  }
}

void SyncWindowsToUnitType(Program& program) {
  const int16_t unitType = program.poll.UnitType;
  if (!isKnownUnitType(unitType)) return;
  const auto& kinds = program.windowKinds();
  for (size_t i = 0; i < kinds.size(); ++i) kinds[i]->syncToUnitType(unitType);
}

void WritePendingCommands(Program& program, const PassTarget& target) {
  const int32_t address = linkAddress(kCommandRegister, target.useModbus);
  for (const CommandCode& command : kCommandWriteOrder) {
    if (!target.stationUnchanged(program)) return;
    bool& pending = program.commands.*command.flag;
    if (!pending) continue;
    pending = false;
    WriteUnit(program, target.port, target.station, address, command.code);
  }
}

QString stationName(int16_t station) {
  return QString::fromStdString(
      ReadIni("Station", "station" + std::to_string(station), "gridmon.ini"));
}

}  // namespace kvlink
