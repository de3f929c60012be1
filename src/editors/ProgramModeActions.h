#pragma once
// Opening, applying and closing the program-mode window of a family.

#include "ProgramModeCodec.h"

namespace kvlink {

class Program;

// The "Program-Mode Settings" buttons of the set-point windows: the poll
// stops, the family's window shows the polled words (Form6 with window
// state 0, Form36 with state 1, whatever the unit type).
void openProgramMode(Program& program, ProgramModeFamily family);

// "Apply Settings": the boxes encoded for UnitType, one event pump, then
// register 14 and register 15 written and the window closed. A word the unit
// refuses stops Apply there, with a message that says which; the window stays
// open as the operator left it. Refused when the words on screen do not come
// from an answered read of the current station since it became current, with
// "Unit off-line...Check connections" while the unit is off line and
// otherwise with a message that says so; then nothing is written and the
// window stays open.
void applyProgramMode(Program& program, ProgramModeFamily family);

// Close, Cancel and unload: hidden, window state 10, the window's hold on the
// poll let go (PollSwitch).
void closeProgramMode(Program& program, ProgramModeFamily family);

}  // namespace kvlink
