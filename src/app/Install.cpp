#include "Install.h"

#include "InstallAutoRetrieve.h"
#include "InstallConfigFile.h"
#include "InstallEditors.h"
#include "InstallEditors2.h"
#include "InstallLoggerConfig.h"
#include "InstallLoggerRecords.h"
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
  installConfigFile(program);
  installLoggerRecords(program);
  installLoggerConfig(program);
  installAutoRetrieve(program);
}

}  // namespace kvlink
