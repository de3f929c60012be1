#pragma once

namespace kvlink {

class Program;

// The configuration files: the save window, the quick configuration, their
// File menu commands (with File > "Edit CON file (&Notepad)") and their
// window kind in the poll pass.
void installConfigFile(Program& program);

}  // namespace kvlink
