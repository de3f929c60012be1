#include "Install.h"

#include "InstallPolling.h"
#include "InstallShell.h"
#include "Program.h"

namespace kvlink {

void installSubsystems(Program& program) {
  // One line per subsystem, in the order the poll pass visits their windows.
  installShell(program);
  installPolling(program);
}

}  // namespace kvlink
