#pragma once

namespace kvlink {

class Program;

// The program-mode windows and the CT and full-load-current windows, with
// their window kinds and the Display menu item that opens the CT windows.
void installEditors2(Program& program);

}  // namespace kvlink
