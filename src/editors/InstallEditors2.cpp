#include "InstallEditors2.h"

#include "ProgramModeModule.h"

namespace kvlink {

void installEditors2(Program& program) {
  auto programMode = std::make_unique<ProgramModeModule>(program);
  program.addWindowKind(&programMode->kind());
  program.addModule(std::move(programMode));
}

}  // namespace kvlink
