#include "Install.h"

#include "InstallEditors.h"
#include "InstallEditors2.h"
#include "InstallPolling.h"
#include "InstallShell.h"
#include "InstallStatus.h"
#include "Program.h"

namespace kvlink {

void installSubsystems(Program& program) {
  // One line per subsystem, in the order the poll pass visits their windows.
  installShell(program);
  installPolling(program);
  installStatus(program);
  installEditors(program);
  installEditors2(program);
}

}  // namespace kvlink
