#pragma once
// The record viewer's place in the program: its single window instance.

#include "DefaultInstance.h"
#include "LogRetr.h"
#include "Program.h"

namespace kvlink {

class LoggerRecordsModule : public Module {
 public:
  explicit LoggerRecordsModule(Program& program);

  DefaultInstance<kvlink::LogRetr> LogRetr;

  void unloadWindows() override { LogRetr.Unload(); }
};

LoggerRecordsModule& loggerRecords(Program& program);

}  // namespace kvlink
