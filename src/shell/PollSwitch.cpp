#include "PollSwitch.h"

#include <QTimer>

#include "Form1.h"
#include "Program.h"
#include "SerialLink.h"

namespace kvlink {

void HoldPoll(Program& program, PollHolder holder) {
  program.session.pollHolds |= uint8_t(holder);
  program.Form1().Timer1->stop();
}

void ReleasePoll(Program& program, PollHolder holder) {
  program.session.pollHolds &= uint8_t(~uint8_t(holder));
  RestartPollIfIdle(program);
}

void RestartPollIfIdle(Program& program) {
  if (program.ended || program.session.pollHolds != 0 || !LinkIsOpen(program)) return;
  QTimer* timer = program.Form1().Timer1;
  if (!timer->isActive()) timer->start();
}

}  // namespace kvlink
