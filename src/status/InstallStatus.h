#pragma once

namespace kvlink {

class Program;

// Installs the status displays: General Status, the pre-trip windows and
// the Network Summary, their window kinds, menu commands and hooks. The
// scan step goes into the poll pass when the poll is installed first.
void installStatus(Program& program);

}  // namespace kvlink
