#include "PollTimers.h"

#include "Form1.h"
#include "MainWindowStatus.h"
#include "PollPass.h"
#include "Program.h"
#include "SerialSetupReset.h"

namespace kvlink {

void Form1_Timer1_Timer(Program& program) {
  QTimer* timer = program.Form1().Timer1;
  if (timer->interval() != kPollIntervalMs) timer->setInterval(kPollIntervalMs);
  PollCurrentStation(program);
}

void Form1_TimerCS_Timer(Program& program) {
  if (program.Form1().Timer1->isActive() || program.linkState.CommEnabled != 0) return;
  for (WindowKind* kind : program.windowKinds()) kind->closeAll(CloseReason::Watchdog);
  program.windowStates.closeAll();
  resetSerialSetupForNewEnable(program);
  showMainWindowNotConnected(program);
}

}  // namespace kvlink
