#include "InstallEditors2.h"

#include "CtModule.h"
#include "EditorsModule.h"
#include "Form1.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"

namespace kvlink {

void installEditors2(Program& program) {
  auto programMode = std::make_unique<ProgramModeModule>(program);
  program.addWindowKind(&programMode->kind());
  program.addModule(std::move(programMode));

  auto ct = std::make_unique<CtModule>(program);
  CtModule& ctWindows = *ct;
  program.addModule(std::move(ct));
  program.addWindowKind(&ctWindows.kind);
  Form1& main = program.Form1();
  QObject::connect(main.mnuDisplayCT, &QAction::triggered, &main,
                   [&ctWindows] { ctWindows.mnuDisplayCT_Click(); });

  // "Program-Mode Settings" of FORM5 and lpFORM5 opens Form6, of FORM35 Form36.
  if (EditorsModule* editors = program.findModule<EditorsModule>()) {
    editors->programModeSettings = [&program](SetPointForm& from) {
      const bool feeder = dynamic_cast<FORM35*>(&from) != nullptr;
      openProgramMode(program, feeder ? ProgramModeFamily::Feeder : ProgramModeFamily::Motor);
    };
  }
}

}  // namespace kvlink
