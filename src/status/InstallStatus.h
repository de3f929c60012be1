#pragma once

namespace kvlink {

class Program;

// Installs the status displays: General Status, the pre-trip windows and
// the Network Summary, their window kinds, menu commands and hooks.
void installStatus(Program& program);

}  // namespace kvlink
