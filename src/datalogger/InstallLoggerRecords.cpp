#include "InstallLoggerRecords.h"

#include "Form1.h"
#include "LoggerRecordsModule.h"
#include "LoggingCode.h"

namespace kvlink {

LoggerRecordsModule::LoggerRecordsModule(Program& program) {
  LogRetr.setFactory([&program] { return std::make_unique<kvlink::LogRetr>(program); });
}

LoggerRecordsModule& loggerRecords(Program& program) {
  return program.module<LoggerRecordsModule>();
}

void installLoggerRecords(Program& program) {
  loggingCode(program);
  program.addModule(std::make_unique<LoggerRecordsModule>(program));
  kvlink::Form1& main = program.Form1();
  QObject::connect(main.mnuRetrieve, &QAction::triggered, &main,
                   [&program] { Form1_mnuRetrieve_Click(program); });
}

}  // namespace kvlink
