#include "SerialSetupReset.h"

#include "Program.h"

namespace kvlink {

void resetSerialSetupForNewEnable(Program& program) {
  // Filled in once the serial set-up window is part of the shell.
  (void)program;
}

}  // namespace kvlink
