#pragma once

namespace kvlink {

class Program;

// The record viewer and Data Logging > "Retrieve Data".
void installLoggerRecords(Program& program);

}  // namespace kvlink
