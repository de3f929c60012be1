// Opening the program's windows the way an operator does, for the soak and
// the benchmarks that want every window on screen.
#pragma once

namespace kvlink {
class Program;
}

namespace kvlink::test {

// Shows the main window and opens every window its menus and buttons open
// (General Status, set points, CT, the reset panel, the Network Summary
// options). The program-mode window stays closed: it stops polling while it
// is open. Windows behind a password open only when the settings file sets
// none. Returns how many top-level windows are then visible.
int openEveryWindow(Program& program);

}  // namespace kvlink::test
