#include "ShellCalls.h"

#include "Program.h"
#include "SerialLink.h"
#include "enc.h"

namespace kvlink {

bool editorsLinkIsOpen(Program& program) {
  return LinkIsOpen(program);
}

int16_t editorsCheckPassword(Program& program, int16_t level) {
  return CheckPassword(program, level);
}

}  // namespace kvlink
