#pragma once
// The poll's auto-retrieve step, run once at the end of every poll pass.
//
// While auto retrieve is on it visits one station of the list: it reads the
// station's identification word and logger record counter and shows them on
// the status line of that list position and in the main window. Once the
// counter has reached the record limit it appends the station's records,
// newest first, to <directory>/station<N>.txt (with the header line of the
// unit's family when the file is new) and then has the unit clear its
// records (control word, bit 8). The records are cleared only when every one
// of them was read and written and the file closed without error, and the
// counter still holds the number saved; otherwise they stay in the unit and
// the next visit saves them again. Then the list moves on to the next
// station. While auto retrieve is off the step only empties the main
// window's auto-retrieve line.

namespace kvlink {

class Program;

void AutoRetrieveStep(Program& program);

}  // namespace kvlink
