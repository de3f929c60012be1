#pragma once
// Fills "Configure Data Logging" for the current station just before it
// shows: the clock page from the PC clock, the control page from one read of
// the logger settings (registers 132..138), captions for the unit type the
// station's identification word (register 39) gives at the same time.

namespace kvlink {

class Program;

// Reads the logger settings of CurrentStation into LoggerSettings and the
// window. When the unit does not answer, or gives no known unit type, it
// shows "Unit off-line.  Check connections.", stops the unit clock, gives the
// poll back unless something else holds it and hides the window; the window
// then holds no settings that can be sent.
void LoadLogConfiguration(Program& program);

}  // namespace kvlink
