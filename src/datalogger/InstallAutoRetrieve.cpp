#include "InstallAutoRetrieve.h"

#include "AutoRetrieveModule.h"
#include "AutoRetrieveRestore.h"
#include "AutoRetrieveStep.h"
#include "Form1.h"
#include "PollingModule.h"

namespace kvlink {

void installAutoRetrieve(Program& program) {
  program.addModule(std::make_unique<AutoRetrieveModule>(program));
  program.hooks.restoreAutoRetrieve = [&program] { RestoreAutoRetrieveSettings(program); };
  if (auto* polling = program.findModule<PollingModule>())
    polling->autoRetrieveStep = [&program] { AutoRetrieveStep(program); };

  kvlink::Form1& main = program.Form1();
  QObject::connect(main.mnuautoretrieve, &QAction::triggered, &main,
                   [&program] { Form1_mnuautoretrieve_Click(program); });
}

}  // namespace kvlink
