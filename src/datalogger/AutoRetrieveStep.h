#pragma once
// The poll's auto-retrieve step, run once at the end of every poll pass.
//
// While auto retrieve is on it visits one station of the list: it reads the
// station's identification word and logger record counter and shows them on
// the status line of that list position and in the main window. Once the
// counter has reached the record limit it appends the records the unit
// logged since its last save, each once and oldest first, to
// <directory>/station<N>.txt (with the header line of the unit's family when
// the file is new), also those logged while it saves, and then has the unit
// reset its counter (control word, bit 8). Records the unit overwrote before
// they could be read are counted on a line of their own and on the status
// line; from a unit that logs faster than it can be read, the records not
// yet read are left for the next visit, with the counter not reset. A long
// backlog is read oldest first, at most 100 record reads a visit, and what a
// visit read stays in the file. When a record cannot be read or the file
// cannot be written, nothing of the save stays in the file (but what earlier
// parts of a long backlog kept, and the error line of a failed read) and the
// counter is not reset, so the next visit saves the same records again; nor
// is it reset when the file was moved or deleted meanwhile. Where the saves
// stand is kept in a note beside the station file (<directory>/station<N>.note),
// synced before and after each step: after a start the next save goes on from
// there, placed by the unit's record counter, where the file ends as the note
// says; else every record the unit holds is read and placed after the file's
// last records where they fit, or saved after a "Records doubtful" line. A
// full counter is reset first and the records the unit holds saved, the loss
// told as at least. Then the list moves on to the next station. While auto
// retrieve is off the step only empties the main window's auto-retrieve line.

namespace kvlink {

class Program;

void AutoRetrieveStep(Program& program);

}  // namespace kvlink
