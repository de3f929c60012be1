#pragma once
// Start-up restore of the auto-retrieve settings from gridmon.ini into the
// Auto Retrieve window (loaded hidden) and the auto-retrieve variables.

namespace kvlink {

class Program;

// Reads the keys in their order. Every key accepted and autoretrieve "1":
// the window is locked with "Enable Auto Retrieve" selected, the list goes to
// the poll and the window's timer starts. Otherwise (a key refused, the
// directory not writable, autoretrieve not "1") auto retrieve is off, with
// the window unlocked, "Disable Auto Retrieve" selected and the status lines
// "-"; no key is written then, except autodir once resolved.
void RestoreAutoRetrieveSettings(Program& program);

}  // namespace kvlink
