#include "PollSwitch.h"

#include <QTimer>

#include "Form1.h"
#include "Program.h"
#include "SerialLink.h"

namespace kvlink {

void StopPollTimer(Program& program) {
  program.Form1().Timer1->stop();
}

void RestartPollIfIdle(Program& program) {
  if (program.ended || program.session.editActive || !LinkIsOpen(program)) return;
  QTimer* timer = program.Form1().Timer1;
  if (!timer->isActive()) timer->start();
}

}  // namespace kvlink
