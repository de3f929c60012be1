#pragma once

namespace kvlink {

class Program;

// Installs the poll: its module (the hooks other subsystems fill) and the
// handlers of the main window's Timer1 and TimerCS.
void installPolling(Program& program);

}  // namespace kvlink
