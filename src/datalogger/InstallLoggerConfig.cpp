#include "InstallLoggerConfig.h"

#include "Form1.h"
#include "LoggerConfigModule.h"

namespace kvlink {

void installLoggerConfig(Program& program) {
  program.addModule(std::make_unique<LoggerConfigModule>(program));
  Form1& main = program.Form1();
  QObject::connect(main.mnuConfigure, &QAction::triggered, &main,
                   [&program] { Form1_mnuConfigure_Click(program); });
}

}  // namespace kvlink
