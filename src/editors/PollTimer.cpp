#include "PollTimer.h"

#include "Form1.h"
#include "Program.h"

namespace kvlink {

void stopPoll(Program& program) {
  program.Form1().Timer1->stop();
}

bool linkIsOpen(Program& program) {
  // TODO(editors2): the serial set-up window's test once the shell lands.
  return program.linkState.CommEnabled != 0;
}

void resumePoll(Program& program) {
  if (!linkIsOpen(program) || program.session.EditIdle != 1) return;
  QTimer* timer = program.Form1().Timer1;
  if (!timer->isActive()) timer->start();
}

}  // namespace kvlink
