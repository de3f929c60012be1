#pragma once
// The serial set-up window's part of the watchdog reset: Enable ready, and
// every link setting open to change.

namespace kvlink {

class Program;

void resetSerialSetupForNewEnable(Program& program);

}  // namespace kvlink
