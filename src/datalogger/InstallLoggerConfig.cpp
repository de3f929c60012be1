#include "InstallLoggerConfig.h"

#include "Form1.h"
#include "LoggerConfigModule.h"

namespace kvlink {

void installLoggerConfig(Program& program) {
  auto module = std::make_unique<LoggerConfigModule>(program);
  program.addWindowKind(&module->kind);
  program.addModule(std::move(module));
  Form1& main = program.Form1();
  QObject::connect(main.mnuConfigure, &QAction::triggered, &main,
                   [&program] { Form1_mnuConfigure_Click(program); });
}

}  // namespace kvlink
