#pragma once
// The main window's view of the selected station after every pass: runtime
// status, trip/alarm status, and the menus and button that only make sense
// while the station answers.

namespace kvlink {

class Program;
struct PassTarget;

// When the operator chose another station during the pass, the texts are
// left to the next pass (the main window already names the new station).
void showMainWindowStatus(Program& program, const PassTarget& target, bool answered);

// The watchdog's not-connected state of the main window.
void showMainWindowNotConnected(Program& program);

}  // namespace kvlink
