#pragma once
// Installs the logger configuration window and its menu command.

namespace kvlink {

class Program;

void installLoggerConfig(Program& program);

}  // namespace kvlink
