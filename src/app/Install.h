#pragma once

namespace kvlink {

class Program;

// Installs every subsystem's windows, window kinds and menu handlers into a
// fresh program, in the order the poll pass must visit them.
void installSubsystems(Program& program);

}  // namespace kvlink
