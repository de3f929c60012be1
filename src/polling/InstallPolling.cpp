#include "InstallPolling.h"

#include "PollTimers.h"
#include "PollingModule.h"

namespace kvlink {

void installPolling(Program& program) {
  program.addModule(std::make_unique<PollingModule>());
  program.hooks.pollTick = [&program] { Form1_Timer1_Timer(program); };
  program.hooks.watchdogTick = [&program] { Form1_TimerCS_Timer(program); };
}

}  // namespace kvlink
