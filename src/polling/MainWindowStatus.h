#pragma once
// The main window's view of the selected station after every pass: runtime
// status, station number, trip/alarm status, and the menus and button that
// only make sense while the station answers.

#include <cstdint>

namespace kvlink {

class Program;

void showMainWindowStatus(Program& program, int16_t station, bool answered);

// The watchdog's not-connected state of the main window.
void showMainWindowNotConnected(Program& program);

}  // namespace kvlink
