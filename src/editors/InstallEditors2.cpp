#include "InstallEditors2.h"

#include "EditorsModule.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"

namespace kvlink {

void installEditors2(Program& program) {
  auto programMode = std::make_unique<ProgramModeModule>(program);
  program.addWindowKind(&programMode->kind());
  program.addModule(std::move(programMode));

  // "Program-Mode Settings" of FORM5 and lpFORM5 opens Form6, of FORM35 Form36.
  if (EditorsModule* editors = program.findModule<EditorsModule>()) {
    editors->programModeSettings = [&program](SetPointForm& from) {
      const bool feeder = dynamic_cast<FORM35*>(&from) != nullptr;
      openProgramMode(program, feeder ? ProgramModeFamily::Feeder : ProgramModeFamily::Motor);
    };
  }
}

}  // namespace kvlink
