#pragma once
// The one-second poll switched off and on by the windows that must not be
// polled under (a field edit, a Delete question, the logger windows, a quick
// configuration download).

namespace kvlink {

class Program;

void StopPollTimer(Program& program);

// Switches the poll on again only while the link is open, no field edit is
// in progress and the program is not ending.
void RestartPollIfIdle(Program& program);

}  // namespace kvlink
