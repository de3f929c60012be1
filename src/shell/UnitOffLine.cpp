#include "UnitOffLine.h"

#include "Form1.h"
#include "Program.h"

namespace kvlink {

bool UnitOffLine(Program& program) {
  const int16_t status = program.poll.PollStatus;
  auto* main = program.Form1.ifLoaded();
  return !main || !Form1::menuEnabled(main->mnuDisplay) || status == 1 || status == 3;
}

}  // namespace kvlink
