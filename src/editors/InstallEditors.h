#pragma once

namespace kvlink {

class Program;

// Installs the set-point windows and the reset/remote panels: their window
// kinds in the poll pass, Display > "&Set Points" and "RESET Menu".
void installEditors(Program& program);

}  // namespace kvlink
